#include "basedist_window.h"

#include "common/errors.h"
#include "common/session.h"
#include "fanciers/site_windows.h"
#include "platform/box_keys.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/printing.h"
#include "platform/window_registry.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vt {

namespace {

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QLineEdit* makeBox(QWidget* parent, const char* name, const QString& tip = QString()) {
    auto* b = new QLineEdit(parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    return b;
}

void showError(const QString& text) {
    dialogs().inform(text, siteMessageTitle(), MsgIcon::Critical);
}

// Clicks on the window's background hide the list of sites.
class Background : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> clicked;

protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (clicked)
            clicked();
        QWidget::mousePressEvent(e);
    }
};

} // namespace

basedist::basedist() {
    setObjectName(QStringLiteral("basedist"));
    setWindowTitle(QStringLiteral("Lieux de lâcher du fichier GENERAL"));

    auto* central = new Background(this);
    setCentralWidget(central);
    central->clicked = [this] { List1->hide(); };

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setFamily(QStringLiteral("Courier New"));
    fixed.setBold(true);

    Label1 = makeLabel(central, "Label1", QStringLiteral("Nom du LIEU de LACHER"));
    Label2 = makeLabel(central, "Label2", QStringLiteral("LATITUDE"));
    Label4 = makeLabel(central, "Label4", QStringLiteral("Longitude EST"));
    Label3 = makeLabel(central, "Label3", QStringLiteral("Longitude OUEST"));
    Label7 = makeLabel(central, "Label7", QStringLiteral(" CE LIEU de LACHER EXISTE DEJA "));
    Label7->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    Label7->hide();

    Text6 = makeBox(central, "Text6",
                    QStringLiteral("Oter le texte de cette case et presser Mémoriser pour "
                                   "supprimer le lieu de lâcher"));
    Text6->setMaxLength(25); // the width of a site name in distgen
    Text1 = makeBox(central, "Text1");
    Text2 = makeBox(central, "Text2",
                    QStringLiteral("Tapez la longitude EST sans intervalle : 20309 pour "
                                   "2° 3' 9''"));
    Text7 = makeBox(central, "Text7",
                    QStringLiteral("Tapez la longitude OUEST sans intervalle : 10408 pour "
                                   "1° 4' 8''"));

    Command1 = new QPushButton(QStringLiteral("Mémoriser"), central);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command3 = new QPushButton(QStringLiteral("Modifier"), central);
    Command3->setObjectName(QStringLiteral("Command3"));

    List1 = new QListWidget(central);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setFont(fixed);
    List1->setToolTip(QStringLiteral("Cliquez sur le lieu de lâcher à modifier"));
    List1->hide();

    auto* grid = new QGridLayout;
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(Text6, 1, 0);
    grid->addWidget(Label7, 2, 0);
    grid->addWidget(Label2, 0, 1);
    grid->addWidget(Text1, 1, 1);
    grid->addWidget(Label4, 0, 2);
    grid->addWidget(Text2, 1, 2);
    grid->addWidget(Label3, 0, 3);
    grid->addWidget(Text7, 1, 3);
    grid->addWidget(Command1, 2, 2);
    grid->addWidget(Command3, 2, 3);
    grid->setColumnStretch(0, 2);
    auto* layout = new QVBoxLayout(central);
    layout->addLayout(grid);
    layout->addWidget(List1, 1);
    layout->addStretch(0);

    QMenu* ed = menuBar()->addMenu(QStringLiteral("Edition"));
    ed->setObjectName(QStringLiteral("ed"));
    edit = ed->addAction(QStringLiteral("Editer la liste des lieux de lâcher"));
    edit->setObjectName(QStringLiteral("edit"));
    ed->addSeparator();
    conf = ed->addAction(QStringLiteral("Configuration de l'imprimante..."));
    conf->setObjectName(QStringLiteral("conf"));
    quitte = menuBar()->addAction(QStringLiteral("Quitter"));
    quitte->setObjectName(QStringLiteral("quitte"));
    aide = menuBar()->addAction(QStringLiteral("?"));
    aide->setObjectName(QStringLiteral("aide"));

    connect(edit, &QAction::triggered, this, &basedist::printGeneralSites);
    connect(conf, &QAction::triggered, this, [] { dialogs().printerSetup(); });
    connect(quitte, &QAction::triggered, this, [this] {
        if (save())
            close();
    });
    connect(aide, &QAction::triggered, this, [] { showHelp(4); });
    connect(Command1, &QPushButton::clicked, this, &basedist::storeSiteFromFields);
    connect(Command3, &QPushButton::clicked, this, &basedist::showModifyList);
    // A double-click or Enter on the current line edits the site.
    connect(List1, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { editSiteFromList(List1->row(item)); });

    for (QLineEdit* b : {Text6, Text1, Text2, Text7}) {
        connect(b, &QLineEdit::textEdited, this, [this] { m_editor.markModified(); });
    }
    installBoxKeys(Text6, nullptr, [this] { return checkDuplicateSiteName(); });
    installBoxKeys(Text1, Text2, [this] {
        if (auto m = checkCoordinateBox(Text1->text(), SiteBox::Latitude)) {
            dialogs().inform(*m, siteMessageTitle(), MsgIcon::Exclamation);
            focusBox(Text1);
            return false;
        }
        Text1->setText(normaliseCoordinateBox(Text1->text()));
        return true;
    });
    installBoxKeys(Text2, nullptr, [this] { return coordinateEnter(Text2, SiteBox::East, Text7); });
    installBoxKeys(Text7, nullptr, [this] { return coordinateEnter(Text7, SiteBox::West, Text2); });
    // Installed last so that it sees every key first, Esc and Enter included.
    Text6->installEventFilter(this);

    m_siteListHold = holdSiteList(session().GeneralSitesPath, m_holdRefusal);
    // A damaged site is named once for this opening; its coordinates read as 0.
    DamageNotice damage(dialogs());
    try {
        m_editor = GeneralSiteEditor::load(session().GeneralSitesPath);
    } catch (const Error& e) {
        showError(e.message());
    }
    fillList();
    resize(760, 420);
}

namespace {
const QString SaveQuestion = QStringLiteral("Enregistrer les modifications des lieux de lâcher ?");
} // namespace

void basedist::reopen() {
    // While Tarvio's site editor has the list, this one does not open: only one program
    // edits distgen at a time.
    QString refusal;
    const HeldLock gate = holdSiteList(session().GeneralSitesPath, refusal);
    if (!gate.held()) {
        dialogs().inform(refusal, siteMessageTitle(), MsgIcon::Exclamation);
        return;
    }
    reopenSiteWindow<basedist>(SaveQuestion);
}

bool basedist::settlePendingWork() {
    return settleSiteChanges<basedist>(SaveQuestion);
}

void basedist::fillList() {
    List1->clear();
    List1->addItems(m_editor.sites().items());
}

TypedSite basedist::typedSite() const {
    return {Text6->text(), Text1->text(), Text2->text(), Text7->text()};
}

QLineEdit* basedist::box(SiteBox b) const {
    switch (b) {
    case SiteBox::Name:
        return Text6;
    case SiteBox::Latitude:
        return Text1;
    case SiteBox::East:
        return Text2;
    case SiteBox::West:
        return Text7;
    }
    return Text6;
}

void basedist::focusBox(QLineEdit* b) {
    b->setFocus();
    b->selectAll();
}

bool basedist::checkDuplicateSiteName() {
    const QString name = Text6->text();
    if (m_editor.nameExists(name)) {
        Label7->show();
        focusBox(Text6);
        return false;
    }
    focusBox(Text1);
    return false; // the focus is already where it goes
}

bool basedist::coordinateEnter(QLineEdit* b, SiteBox which, QLineEdit* other) {
    if (auto m = checkCoordinateBox(b->text(), which)) {
        dialogs().inform(*m, siteMessageTitle(), MsgIcon::Exclamation);
        focusBox(b);
        return false;
    }
    if (coordinateBoxValue(b->text()) <= 0) {
        focusBox(other);
        return false;
    }
    b->setText(normaliseCoordinateBox(b->text()));
    Command1->setFocus();
    return false;
}

bool basedist::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Text6 && event->type() == QEvent::KeyPress)
        Label7->hide();
    return QMainWindow::eventFilter(watched, event);
}

void basedist::storeSiteFromFields() {
    const auto out = m_editor.store(typedSite(), dialogs());
    switch (out.result) {
    case GeneralSiteEditor::StoreResult::Refused:
        focusBox(box(out.focus));
        return;
    case GeneralSiteEditor::StoreResult::Declined:
        focusBox(Text6);
        return;
    case GeneralSiteEditor::StoreResult::Stored:
        for (QLineEdit* b : {Text6, Text1, Text2, Text7})
            b->clear();
        fillList();
        List1->setCurrentRow(out.index);
        break;
    case GeneralSiteEditor::StoreResult::NothingStored:
        fillList();
        break;
    }
    quitte->setVisible(true);
    Command3->show();
    Text6->setFocus();
}

void basedist::showModifyList() {
    if (m_editor.sites().isEmpty())
        return;
    List1->show();
    Command3->hide();
}

void basedist::editSiteFromList(int row) {
    if (row < 0 || row >= m_editor.sites().size())
        return;
    List1->hide();
    const TypedSite typed = m_editor.takeOut(row);
    Text6->setText(typed.name);
    Text1->setText(typed.latitude);
    Text2->setText(typed.east);
    Text7->setText(typed.west);
    fillList();
    quitte->setVisible(false);
    focusBox(Text6);
}

bool basedist::save() {
    if (!m_siteListHold.held()) {
        // Another program had the list when this editor opened: nothing is written over
        // its work.
        dialogs().inform(m_holdRefusal, siteMessageTitle(), MsgIcon::Exclamation);
        m_closing = true;
        return true;
    }
    try {
        m_editor.save(session().GeneralSitesPath, session().LocalSitesPath);
    } catch (const Error& e) {
        fillList();
        quitte->setVisible(!m_editor.hasTakenOut());
        showError(e.message());
        return false;
    }
    m_closing = true;
    return true;
}

void basedist::printGeneralSites() {
    // Said in a message over the editor, as every other print does: a status line of this
    // narrow window cut the file's name and page count, and showed a failure as plain text.
    tellWherePrinted(m_editor.print(printer()), windowTitle());
}

void basedist::closeEvent(QCloseEvent* event) {
    // A site taken out is put back by the save.
    closeSiteWindow(this, event, m_closing);
    // A closed editor gives the list up at once, not when the window is deleted later.
    if (event->isAccepted())
        m_siteListHold.release();
}

} // namespace vt
