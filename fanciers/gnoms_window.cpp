#include "gnoms_window.h"

#include "adresse_window.h"
#include "distance_window.h"


#include "common/errors.h"
#include "common/session.h"
#include "common/sorting.h"
#include "common/text.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/window_registry.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>

namespace vt {

void removeFancierListLine(int recordNo) {
    if (windows().isLoaded<gnoms>())
        windows().window<gnoms>().removeLine(recordNo);
}

void putFancierListLine(const QString& line) {
    if (windows().isLoaded<gnoms>())
        windows().window<gnoms>().putLine(line);
}

namespace {

QFont courier() {
    QFont f(QStringLiteral("Courier New"));
    f.setStyleHint(QFont::Monospace);
    return f;
}

QListWidget* makeList(QWidget* parent, const QString& name, const QString& tip) {
    auto* list = new QListWidget(parent);
    list->setObjectName(name);
    list->setFont(courier());
    if (!tip.isEmpty())
        list->setToolTip(tip);
    return list;
}

} // namespace

gnoms::gnoms() {
    setObjectName(QStringLiteral("gnoms"));
    setWindowTitle(QStringLiteral("GESTION des NOMS"));

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    List1 = makeList(central, QStringLiteral("List1"),
                     QStringLiteral("Cliquez 2 fois pour MODIFIER les DONNEES de l'AMATEUR"));
    List1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List2 = makeList(central, QStringLiteral("List2"),
                     QStringLiteral("Cliquez 2 fois sur la SOCIETE à EDITER"));
    List3 = makeList(central, QStringLiteral("List3"), QString());
    Image1 = new QLabel(central);
    Image1->setObjectName(QStringLiteral("Image1"));
    layout->addWidget(List1, 1);
    layout->addWidget(List2);
    layout->addWidget(List3);
    layout->addWidget(Image1);
    setCentralWidget(central);
    const QFontMetrics fm(List1->font());
    List1->setMinimumWidth(fm.horizontalAdvance(QString(FancierListItemLength + 4, u'M')));
    // The club lines (26 characters) and the site names (22) are read whole.
    const int scrollBar = List2->verticalScrollBar()->sizeHint().width();
    List2->setMinimumWidth(fm.horizontalAdvance(QString(26 + 2, u'M')) + scrollBar);
    List3->setMinimumWidth(fm.horizontalAdvance(QString(22 + 2, u'M')) + scrollBar);
    List3->hide();

    buildMenus();
    connect(List1, &QListWidget::itemSelectionChanged, this, &gnoms::List1_Click);
    // A double-click or Enter on the current line opens it.
    connect(List1, &QListWidget::itemActivated, this, &gnoms::List1_DblClick);
    connect(List2, &QListWidget::itemActivated, this, &gnoms::List2_DblClick);

    const Session& s = session();
    m_actions["socdist"]->setVisible(false);
    List2->clear();
    List2->hide();
    m_actions["lst1"]->setVisible(false);
    List2->addItems(clubListLines());
    if (s.ClubCount == 1) {
        m_actions["af"]->setVisible(false);
        m_actions["lstsoc"]->setVisible(false);
        m_actions["socdist"]->setText(QStringLiteral("La société de ") +
                                      (s.ClubNames.size() > 1 ? s.ClubNames[1] : QString()));
        m_actions["socdist"]->setVisible(true);
    }
    m_mode = ListMode::All;
    // The main window's status label tells the user to wait while the list loads, then
    // gets its text back.
    const QString savedStatus = mainStatus();
    setMainStatus(QStringLiteral(" VEUILLEZ PATIENTER CHARGEMENT EN COURS "));
    LoadFancierList();
    setMainStatus(savedStatus);
    markSeasonWindow(this);
}

QAction* gnoms::addItem(QWidget* menu, const QString& name, const QString& caption) {
    auto* action = new QAction(caption, menu);
    action->setObjectName(name);
    menu->addAction(action);
    m_actions.insert(name, action);
    return action;
}

void gnoms::buildMenus() {
    QMenuBar* bar = menuBar();
    auto submenu = [this](QWidget* parent, const QString& name, const QString& caption) {
        auto* menu = new QMenu(caption, parent);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        parent->addAction(menu->menuAction());
        m_actions.insert(name, menu->menuAction());
        return menu;
    };

    QMenu* ed = submenu(bar, QStringLiteral("ed"), QStringLiteral("Edition"));
    addItem(ed, QStringLiteral("lst"), QStringLiteral("Edition de tous les Noms"));
    connect(addItem(ed, QStringLiteral("lstsoc"), QStringLiteral("Edition des noms d'une société")),
            &QAction::triggered, this, [this] { showClubList(ListMode::ChooseClubToPrint); });
    QMenu* edv = submenu(ed, QStringLiteral("edv"), QStringLiteral("Edition d'enveloppes"));
    QMenu* plu = submenu(edv, QStringLiteral("plu"), QStringLiteral("Courrier Urgent"));
    addItem(plu, QStringLiteral("envel1"), QStringLiteral("Enveloppe 220 X 110"));
    addItem(plu, QStringLiteral("envel2"), QStringLiteral("Enveloppe 230 X 160 "));
    QMenu* plnu = submenu(edv, QStringLiteral("plnu"), QStringLiteral("Courrier non Urgent"));
    addItem(plnu, QStringLiteral("envel1n"), QStringLiteral("Enveloppe 220 X 110"));
    addItem(plnu, QStringLiteral("envel2n"), QStringLiteral("Enveloppe 230 X 160"));
    addItem(ed, QStringLiteral("etiqu"), QStringLiteral("Edition d'Etiquettes"));
    addItem(ed, QStringLiteral("z"), QString())->setSeparator(true);
    connect(addItem(ed, QStringLiteral("cfimp"), QStringLiteral("Configuration de l'Imprimante....")),
            &QAction::triggered, this, [] { dialogs().printerSetup(); });

    QMenu* dst = submenu(bar, QStringLiteral("dst"), QStringLiteral("Distances"));
    addItem(dst, QStringLiteral("socdist"), QStringLiteral("La société"));
    addItem(dst, QStringLiteral("amdist"), QStringLiteral("Les amateurs sélectionnés"));
    addItem(dst, QStringLiteral("ssr"), QString())->setSeparator(true);
    QMenu* ld = submenu(dst, QStringLiteral("ld"), QStringLiteral("Lister une distance"));
    addItem(ld, QStringLiteral("chdist"), QStringLiteral("Choix de la distance"));
    addItem(ld, QStringLiteral("lst1"), QString());

    QMenu* sl = submenu(bar, QStringLiteral("sl"), QStringLiteral("Sélection"));
    connect(addItem(sl, QStringLiteral("seloter"), QStringLiteral("Oter toutes les sélections")),
            &QAction::triggered, List1, &QListWidget::clearSelection);
    connect(addItem(sl, QStringLiteral("seltout"), QStringLiteral("TOUT Sélectionner")),
            &QAction::triggered, List1, &QListWidget::selectAll);

    QMenu* af = submenu(bar, QStringLiteral("af"), QStringLiteral("Affichage"));
    connect(addItem(af, QStringLiteral("tous"), QStringLiteral("Afficher tous les noms")),
            &QAction::triggered, this, &gnoms::tous_Click);
    connect(addItem(af, QStringLiteral("une"), QStringLiteral("Afficher les noms d'une société")),
            &QAction::triggered, this, [this] { showClubList(ListMode::OneClub); });

    connect(addItem(bar, QStringLiteral("nouv"), QStringLiteral("Nouveau")), &QAction::triggered,
            this, &gnoms::nouv_Click);
    // The local release-site selector, hidden in this menu (the main window offers it).
    QAction* lx = addItem(bar, QStringLiteral("lx"), QStringLiteral("Lieux pour distances"));
    lx->setVisible(false);
    connect(lx, &QAction::triggered, this, [] { distance::reopen(); });
    connect(addItem(bar, QStringLiteral("quitte"), QStringLiteral("Quitter")),
            &QAction::triggered, this, &QWidget::close);
    connect(addItem(bar, QStringLiteral("aide"), QStringLiteral("?")), &QAction::triggered, this,
            [] { showHelp(6); });
    QAction* memo = addItem(bar, QStringLiteral("MEMNOUV"), QStringLiteral("MEMO"));
    memo->setVisible(false);
    connect(memo, &QAction::triggered, this, &gnoms::MEMNOUV_Click);

    wirePrints();
}

QStringList gnoms::lines() const {
    QStringList out;
    for (int i = 0; i < List1->count(); ++i)
        out.append(List1->item(i)->text());
    return out;
}

QStringList gnoms::selectedLines() const {
    QStringList out;
    for (int i = 0; i < List1->count(); ++i)
        if (List1->item(i)->isSelected())
            out.append(List1->item(i)->text());
    return out;
}

void gnoms::LoadFancierList() {
    if (m_mode == ListMode::None)
        return;
    // The list stands almost the height of the screen (1100 twips left for the rest).
    if (const QScreen* screen = QApplication::primaryScreen()) {
        const int height = screen->availableGeometry().height() - 1100 * logicalDpiY() / 1440 -
                           menuBar()->sizeHint().height();
        List1->setMinimumHeight(std::max(100, height));
    }
    List1->hide();
    List1->clear();
    DamageNotice damage(dialogs());
    const FancierListLoad load = loadFancierList(m_mode, m_chosenClub);
    damage.tell();
    List1->addItems(load.lines);
    List1->show();
    if (!load.error.isEmpty())
        dialogs().inform(load.error, windowTitle(), MsgIcon::Critical);
}

bool gnoms::hasLine(int recordNo) const {
    for (int i = 0; i < List1->count(); ++i)
        if (recordNoOfLine(List1->item(i)->text()) == recordNo)
            return true;
    return false;
}

void gnoms::removeLine(int recordNo) {
    for (int i = List1->count() - 1; i >= 0; --i)
        if (recordNoOfLine(List1->item(i)->text()) == recordNo)
            delete List1->takeItem(i);
}

void gnoms::putLine(const QString& line) {
    removeLine(recordNoOfLine(line));
    int low = 0, high = List1->count();
    while (low < high) { // the first line that sorts after the new one
        const int mid = (low + high) / 2;
        if (listTextLess(line, List1->item(mid)->text()))
            high = mid;
        else
            low = mid + 1;
    }
    List1->insertItem(low, line);
}

void gnoms::showClubList(ListMode mode) {
    List2->show();
    m_mode = mode;
    List2->setFocus();
    List1->hide();
}

void gnoms::List1_Click() {
    if (!List1->selectedItems().isEmpty())
        m_actions["amdist"]->setVisible(true);
}

void gnoms::List1_DblClick(QListWidgetItem* item) {
    if (item)
        openEditor(recordNoOfLine(item->text()));
}

void gnoms::nouv_Click() {
    List1->setCurrentRow(-1);
    openEditor(0);
}

void gnoms::openEditor(int recordNo) {
    if (windows().isLoaded<adresse>() && !windows().window<adresse>().offerToSave())
        return;
    windows().unload<adresse>();
    Session& s = session();
    s.CurrentFancierNo = recordNo;
    s.UrgentMail = m_chosenClub;
    adresse& editor = windows().show<adresse>();
    if (editor.loadFailed())
        windows().unload<adresse>();
}

void gnoms::List2_DblClick(QListWidgetItem* item) {
    if (!item)
        return;
    const int club = clubNoOfLine(item->text());
    const Session& s = session();
    const QString name = club >= 0 && club < s.ClubNames.size() ? s.ClubNames[club] : QString();
    m_actions["socdist"]->setText(QStringLiteral("La société de ") + name);
    m_chosenClub = club;
    List1->show();
    List2->hide();
    m_actions["dst"]->setVisible(true);
    m_actions["socdist"]->setVisible(true);
    m_actions["amdist"]->setVisible(true);
    if (m_mode == ListMode::ChooseClubToPrint)
        printNamesListOf(club);
    if (m_mode == ListMode::OneClub)
        LoadFancierList();
}

void gnoms::tous_Click() {
    List2->hide();
    m_actions["lst1"]->setVisible(false);
    m_actions["socdist"]->setVisible(false);
    if (m_mode != ListMode::All) {
        m_mode = ListMode::All;
        LoadFancierList();
    } else {
        List1->show();
    }
}

void gnoms::closeEvent(QCloseEvent* event) {
    event->accept();
    QPointer<gnoms> self(this);
    QTimer::singleShot(0, [self] {
        if (self)
            windows().unload(self.data());
    });
}

void gnoms::MEMNOUV_Click() {
    try {
        writeMemoFile(lines());
    } catch (const Error& e) {
        dialogs().inform(e.message(), windowTitle(), MsgIcon::Critical);
    }
}

} // namespace vt
