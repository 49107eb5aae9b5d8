#include "basedist_window.h"

#include "depart_window.h"
#include "plein_window.h"
#include "tarvio_texts.h"

#include "common/errors.h"
#include "common/text.h"
#include "platform/box_keys.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/printing.h"
#include "platform/window_registry.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace vt::tarvio {

namespace {

QLabel* label(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

QLineEdit* textBox(QWidget* parent, const QString& name) {
    auto* t = new QLineEdit(parent);
    t->setObjectName(name);
    return t;
}

void focusAndSelect(QLineEdit* box) {
    box->setFocus();
    box->selectAll();
}

} // namespace

basedist::basedist() {
    setObjectName(QStringLiteral("basedist"));
    setWindowTitle(QString());
    buildControls();
    Form_Load();
}

void basedist::buildControls() {
    QMenu* ed = menuBar()->addMenu(QStringLiteral("Edition"));
    ed->setObjectName(QStringLiteral("ed"));
    QAction* edit = ed->addAction(QStringLiteral("Editer la liste des lieux de lâcher"));
    edit->setObjectName(QStringLiteral("edit"));
    connect(edit, &QAction::triggered, this, &basedist::edit_Click);
    ed->addSeparator();
    QAction* conf = ed->addAction(QStringLiteral("Configuration de l'imprimante..."));
    conf->setObjectName(QStringLiteral("conf"));
    connect(conf, &QAction::triggered, this, &basedist::conf_Click);
    m_quitte = menuBar()->addAction(QStringLiteral("Quitter"));
    m_quitte->setObjectName(QStringLiteral("quitte"));
    connect(m_quitte, &QAction::triggered, this, &basedist::quitte_Click);
    QAction* aide = menuBar()->addAction(QStringLiteral("?"));
    aide->setObjectName(QStringLiteral("aide"));
    connect(aide, &QAction::triggered, this, &basedist::aide_Click);

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* root = new QVBoxLayout(central);
    auto* grid = new QGridLayout;
    m_text6 = textBox(central, QStringLiteral("Text6"));
    m_text6->setToolTip(QStringLiteral(
        "Oter le texte de cette case et presser Mémoriser pour supprimer le lieu de lâcher"));
    m_text6->setMinimumWidth(260);
    m_text6->setMaxLength(25); // the width of a site name in distgen
    m_text1 = textBox(central, QStringLiteral("Text1"));
    m_text2 = textBox(central, QStringLiteral("Text2"));
    m_text7 = textBox(central, QStringLiteral("Text7"));
    grid->addWidget(label(central, QStringLiteral("Label1"), QStringLiteral("Nom du LIEU de LACHER")), 0, 0);
    grid->addWidget(label(central, QStringLiteral("Label2"), QStringLiteral("LATITUDE")), 0, 1);
    grid->addWidget(label(central, QStringLiteral("Label4"), QStringLiteral("Longitude EST")), 0, 2);
    grid->addWidget(label(central, QStringLiteral("Label3"), QStringLiteral("Longitude OUEST")), 0, 3);
    grid->addWidget(m_text6, 1, 0);
    grid->addWidget(m_text1, 1, 1);
    grid->addWidget(m_text2, 1, 2);
    grid->addWidget(m_text7, 1, 3);
    root->addLayout(grid);

    m_label7 = label(central, QStringLiteral("Label7"), duplicateSiteText());
    m_label7->setStyleSheet(QStringLiteral("color: red; font-weight: bold;"));
    m_label7->hide();
    root->addWidget(m_label7);

    auto* buttons = new QHBoxLayout;
    m_command1 = new QPushButton(QStringLiteral("Mémoriser"), central);
    m_command1->setObjectName(QStringLiteral("Command1"));
    connect(m_command1, &QPushButton::clicked, this, &basedist::Command1_Click);
    m_command3 = new QPushButton(QStringLiteral("Modifier"), central);
    m_command3->setObjectName(QStringLiteral("Command3"));
    connect(m_command3, &QPushButton::clicked, this, &basedist::Command3_Click);
    buttons->addWidget(m_command1);
    buttons->addWidget(m_command3);
    buttons->addStretch();
    root->addLayout(buttons);

    m_list = new QListWidget(central);
    m_list->setObjectName(QStringLiteral("List1"));
    QFont fixed(QStringLiteral("Courier New"));
    fixed.setStyleHint(QFont::TypeWriter);
    fixed.setFixedPitch(true);
    fixed.setBold(true);
    m_list->setFont(fixed);
    m_list->setToolTip(QStringLiteral("Cliquez sur le lieu de lâcher à modifier"));
    m_list->setMinimumHeight(220);
    // A double-click or Enter on the current line edits the site.
    connect(m_list, &QListWidget::itemActivated, this, &basedist::List1_DblClick);
    root->addWidget(m_list);
    root->addStretch();

    // Enter moves on as each box decides; Esc or Del clears the box.
    installBoxKeys(m_text6, nullptr, [this] { return Text6_Enter(); });
    installBoxKeys(m_text1, nullptr, [this] { return Text1_Enter(); });
    installBoxKeys(m_text2, nullptr,
                   [this] { return longitudeEnter(m_text2, SiteBox::East, m_text7); });
    installBoxKeys(m_text7, nullptr,
                   [this] { return longitudeEnter(m_text7, SiteBox::West, m_text2); });
    // Installed last so that it sees every key first: a key in the name box hides the
    // duplicate message.
    m_text6->installEventFilter(this);
    resize(760, 480);
}

void basedist::Form_Load() {
    m_list->hide();
    m_siteListHold = holdSiteList(generalSitesPath(), m_holdRefusal);
    // A damaged site is named once for this opening; its coordinates read as 0, so a
    // save writes 0 in their place.
    DamageNotice damage(dialogs());
    try {
        m_sites = SiteList::load(generalSitesPath());
    } catch (const Error& e) {
        dialogs().inform(e.message(), siteMessageTitle(), MsgIcon::Exclamation);
    }
    refreshList();
}

void basedist::refreshList() {
    m_list->clear();
    m_list->addItems(m_sites.items());
}

QLineEdit* basedist::box(SiteBox kind) const {
    switch (kind) {
    case SiteBox::Name: return m_text6;
    case SiteBox::Latitude: return m_text1;
    case SiteBox::East: return m_text2;
    case SiteBox::West: return m_text7;
    }
    return m_text6;
}

bool basedist::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text6 && event->type() == QEvent::KeyPress)
        m_label7->hide();
    return QMainWindow::eventFilter(watched, event);
}

bool basedist::Text6_Enter() {
    if (isBlank(m_text6->text())) {
        focusAndSelect(m_text6);
        return false;
    }
    if (m_sites.indexOfName(m_text6->text()) >= 0) {
        m_label7->show();
        focusAndSelect(m_text6);
        return false;
    }
    focusAndSelect(m_text1);
    return false;
}

bool basedist::Text1_Enter() {
    if (const auto refusal = checkCoordinateBox(m_text1->text(), SiteBox::Latitude)) {
        dialogs().inform(*refusal, siteMessageTitle(), MsgIcon::Exclamation);
        focusAndSelect(m_text1);
        return false;
    }
    m_text1->setText(normaliseCoordinateBox(m_text1->text()));
    focusAndSelect(m_text2);
    return false;
}

bool basedist::longitudeEnter(QLineEdit* longitude, SiteBox kind, QLineEdit* other) {
    if (const auto refusal = checkCoordinateBox(longitude->text(), kind)) {
        dialogs().inform(*refusal, siteMessageTitle(), MsgIcon::Exclamation);
        focusAndSelect(longitude);
        return false;
    }
    if (coordinateBoxValue(longitude->text()) > 0) {
        longitude->setText(normaliseCoordinateBox(longitude->text()));
        m_command1->setFocus();
    } else {
        focusAndSelect(other);
    }
    return false;
}

void basedist::Command1_Click() {
    const SiteEntry entry =
        readSiteBoxes({m_text6->text(), m_text1->text(), m_text2->text(), m_text7->text()});
    if (entry.kind == SiteEntry::Refused) {
        dialogs().inform(entry.message, siteMessageTitle(), MsgIcon::Exclamation);
        focusAndSelect(box(entry.box));
        return;
    }
    if (entry.kind == SiteEntry::Ready) {
        if (entry.westDropped)
            dialogs().inform(bothLongitudesWarning(), siteMessageTitle(), MsgIcon::Exclamation);
        // Vorel finds a site by its name: a second one of the same name is stored only
        // when the user says so, as Vorel's editor asks.
        const QString name = trim(entry.record.siteName());
        if (m_sites.indexOfName(name) >= 0 &&
            !dialogs().askYesNo(duplicateSiteQuestion(name), siteMessageTitle(), MsgAnswer::No)) {
            focusAndSelect(m_text6);
            return;
        }
        m_sites.insert(entry.record);
        for (QLineEdit* b : {m_text6, m_text1, m_text2, m_text7})
            b->clear();
        refreshList();
    }
    // A site taken out and stored again, or deleted by an empty name, is no longer out.
    m_takenOut.reset();
    m_quitte->setVisible(true);
    m_command3->show();
    m_text6->setFocus();
}

void basedist::Command3_Click() {
    if (m_sites.isEmpty())
        return;
    m_list->show();
    m_command3->hide();
}

void basedist::List1_DblClick() {
    const int row = m_list->currentRow();
    if (row < 0 || row >= m_sites.size())
        return;
    m_list->hide();
    if (m_takenOut) // a second site taken out first puts the first one back
        m_sites.insert(*m_takenOut);
    const ReleaseSiteRecord site = m_sites.takeAt(row);
    m_takenOut = site;
    m_text6->setText(trim(site.siteName()));
    m_text1->setText(coordinateBoxText(site.latitudeDms()));
    m_text2->setText(coordinateBoxText(site.longitudeEastDms()));
    m_text7->setText(coordinateBoxText(site.longitudeWestDms()));
    refreshList();
    m_quitte->setVisible(false);
    focusAndSelect(m_text6);
}

void basedist::mousePressEvent(QMouseEvent* event) {
    m_list->hide();
    QMainWindow::mousePressEvent(event);
}

void basedist::edit_Click() {
    if (m_sites.isEmpty())
        return;
    try {
        const PrintOutcome where = printGeneralSites(m_sites, printer());
        // Without a printer the list goes to a PDF file; the editor has no status line
        // to say where, so a message does, as it does when the list cannot be printed.
        if (where.failed())
            dialogs().inform(where.message, siteMessageTitle(), MsgIcon::Critical);
        else if (!where.file.isEmpty())
            dialogs().inform(where.message, siteMessageTitle());
    } catch (const Error& e) {
        dialogs().inform(e.message(), siteMessageTitle(), MsgIcon::Exclamation);
    }
}

void basedist::conf_Click() { showPrinterSetup(this); }

void basedist::aide_Click() {
    dialogs().inform(siteEditorHelpText(), siteMessageTitle(), MsgIcon::None);
}

bool basedist::saveGeneralSites() {
    if (!m_siteListHold.held()) {
        // Another program had the list when this editor opened: nothing is written over
        // its work.
        dialogs().inform(m_holdRefusal, siteMessageTitle(), MsgIcon::Exclamation);
        return true;
    }
    if (m_takenOut) {
        m_sites.insert(*m_takenOut);
        m_takenOut.reset();
        refreshList();
        m_quitte->setVisible(true);
    }
    try {
        m_sites.save(generalSitesPath());
    } catch (const Error& e) {
        dialogs().inform(e.message(), siteMessageTitle(), MsgIcon::Critical);
        return false;
    }
    return true;
}

void basedist::leave() {
    m_leaving = true;
    hide();
    windows().unload<plein>();
    // The main window shows the list as the editor left it.
    windows().window<depart>().reloadSites();
    windows().show<depart>();
    m_siteListHold.release();
    windows().unload<basedist>();
}

void basedist::quitte_Click() {
    if (saveGeneralSites())
        leave();
}

void basedist::closeEvent(QCloseEvent* event) {
    // The close box does what "Quitter" does; a failed write keeps the editor open.
    if (m_leaving) {
        event->accept();
        return;
    }
    if (!saveGeneralSites()) {
        event->ignore();
        return;
    }
    event->accept();
    leave();
}

} // namespace vt::tarvio
