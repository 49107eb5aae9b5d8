#include "distance_window.h"

#include "common/errors.h"
#include "common/session.h"
#include "fanciers/site_windows.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/printing.h"
#include "platform/window_registry.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QScreen>
#include <QVBoxLayout>

namespace vt {

namespace {

int twipsToPixels(const QWidget* w, int twips) {
    return twips * w->logicalDpiX() / 1440;
}

void showError(const QString& text) {
    dialogs().inform(text, siteMessageTitle(), MsgIcon::Critical);
}

} // namespace

distance::distance() {
    setObjectName(QStringLiteral("distance"));
    setWindowTitle(QStringLiteral("gestion des lieux de lâcher"));

    auto* central = new QWidget(this);
    setCentralWidget(central);

    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setBold(true);

    Listlieux = new QListWidget(central);
    Listlieux->setObjectName(QStringLiteral("Listlieux"));
    Listlieux->setFont(fixed);
    Listlieux->setToolTip(
        QStringLiteral("Cliquez sur un lieu pour l'ajouter dans la liste de droite"));
    Listlieux->setFlow(QListView::TopToBottom);
    Listlieux->setWrapping(true);
    Listlieux->setResizeMode(QListView::Adjust);
    Listlieux->setUniformItemSizes(true);

    Label5 = new QLabel(QStringLiteral(" Votre fichier local est constitué par les lieux cochés. "),
                        central);
    Label5->setObjectName(QStringLiteral("Label5"));

    auto* layout = new QVBoxLayout(central);
    layout->addWidget(Label5);
    layout->addWidget(Listlieux, 1);

    QMenu* ed = menuBar()->addMenu(QStringLiteral("Editions"));
    ed->setObjectName(QStringLiteral("ed"));
    exportAction = ed->addAction(QStringLiteral("Exporter la liste des lieux de lâcher"));
    exportAction->setObjectName(QStringLiteral("export"));
    ed->addSeparator();
    lsoc = ed->addAction(QStringLiteral("Liste des Lieux de Lâcher du fichier local"));
    lsoc->setObjectName(QStringLiteral("lsoc"));
    ed->addSeparator();
    cfimp = ed->addAction(QStringLiteral("Configuration de l'Imprimante....."));
    cfimp->setObjectName(QStringLiteral("cfimp"));
    QMenu* sl = menuBar()->addMenu(QStringLiteral("Selection"));
    sl->setObjectName(QStringLiteral("sl"));
    tsel = sl->addAction(QStringLiteral("Sélectionner tous les lieux"));
    tsel->setObjectName(QStringLiteral("tsel"));
    osel = sl->addAction(QStringLiteral("Oter toutes les sélections"));
    osel->setObjectName(QStringLiteral("osel"));
    quitte = menuBar()->addAction(QStringLiteral("Quitter"));
    quitte->setObjectName(QStringLiteral("quitte"));
    aide = menuBar()->addAction(QStringLiteral("?"));
    aide->setObjectName(QStringLiteral("aide"));

    connect(lsoc, &QAction::triggered, this, &distance::printLocalSites);
    connect(cfimp, &QAction::triggered, this, [] { dialogs().printerSetup(); });
    connect(tsel, &QAction::triggered, this, &distance::selectAllSites);
    connect(osel, &QAction::triggered, this, &distance::clearAllSites);
    connect(quitte, &QAction::triggered, this, [this] {
        if (save())
            close();
    });
    connect(aide, &QAction::triggered, this, [] { showHelp(5); });
    connect(Listlieux, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!m_filling)
            m_choice.setTicked(Listlieux->row(item), item->checkState() == Qt::Checked);
    });
    connect(&siteFiles(), &SiteFiles::generalSitesSaved, this, &distance::generalSitesSaved);

    // A damaged site is named once for this opening; its coordinates read as 0.
    DamageNotice damage(dialogs());
    try {
        m_choice = LocalSiteChoice::load(session().GeneralSitesPath, session().LocalSitesPath);
    } catch (const Error& e) {
        showError(e.message());
    }
    fillList();

    // The list takes the screen, less 300 twips across and the label and 1000 twips down.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QSize s = screen->availableSize();
        resize(qMax(300, s.width() - twipsToPixels(this, 300)),
               qMax(200, s.height() - (Label5->sizeHint().height() + twipsToPixels(this, 1000))));
    }
}

namespace {
const QString SaveQuestion = QStringLiteral("Enregistrer les lieux cochés ?");
} // namespace

void distance::reopen() {
    reopenSiteWindow<distance>(SaveQuestion);
}

bool distance::settlePendingWork() {
    return settleSiteChanges<distance>(SaveQuestion);
}

void distance::fillList() {
    m_filling = true;
    Listlieux->clear();
    for (int i = 0; i < m_choice.size(); ++i) {
        auto* item = new QListWidgetItem(m_choice.itemText(i), Listlieux);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(m_choice.isTicked(i) ? Qt::Checked : Qt::Unchecked);
    }
    if (Listlieux->count() > 0)
        Listlieux->setCurrentRow(0);
    m_filling = false;
}

void distance::generalSitesSaved(const QList<ReleaseSiteRecord>& sites) {
    m_choice.replaceGeneralSites(sites);
    fillList();
}

void distance::selectAllSites() {
    m_choice.selectAll();
    fillList();
}

void distance::clearAllSites() {
    m_choice.clearAll();
    fillList();
}

void distance::printLocalSites() {
    // Said in a message over the window, as every other print does.
    tellWherePrinted(m_choice.print(printer()), windowTitle());
}

bool distance::save() {
    try {
        m_choice.save(session().LocalSitesPath);
    } catch (const Error& e) {
        showError(e.message());
        return false;
    }
    m_closing = true;
    return true;
}

void distance::closeEvent(QCloseEvent* event) {
    closeSiteWindow(this, event, m_closing);
}

} // namespace vt
