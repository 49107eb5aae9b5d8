#include "depart_window.h"

#include "about_window.h"
#include "calend_window.h"
#include "chdate_window.h"
#include "entries/enjeu_window.h"
#include "entries/jeuamat_window.h"
#include "entries/recap_prints.h"
#include "entries/recapam_window.h"
#include "fanciers/basedist_window.h"
#include "fanciers/distance_window.h"
#include "fanciers/gnoms_window.h"
#include "platform/print_progress_window.h"
#include "platform/printing.h"
#include "season.h"
#include "societe_window.h"

#include "common/session.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/window_registry.h"
#include "program.h"

#include "common/dates.h"
#include "common/errors.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

using namespace vt;

namespace {

class ClickFilter : public QObject {
public:
    ClickFilter(QWidget* w, std::function<void()> action)
        : QObject(w), m_action(std::move(action)) {
        w->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) {
            m_action();
            return true;
        }
        return false;
    }

private:
    std::function<void()> m_action;
};

// The program ends from the main window. Every window holding typed work not yet stored
// (an entry sheet, the stake-sheet editor, the release-site editors) asks first, one after
// the other, whether to save it; a cancel, or a save that fails, keeps the program running.
void quitProgram() {
    if (askBeforeChange(StateChange::ProgramEnd))
        endProgram();
}

} // namespace

namespace vt {

void onClick(QWidget* widget, std::function<void()> action) {
    new ClickFilter(widget, std::move(action));
}

void revealRaceMenus() {
    if (windows().isLoaded<depart>())
        windows().window<depart>().setRaceMenusVisible(true);
}

QPixmap vorelLogo() {
    QPixmap pm(360, 120);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(QColor(0x1f, 0x4e, 0x8c));
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(0, 0, 360, 120), 18, 18);
    // A pigeon in flight: two wings and a body.
    p.setBrush(Qt::white);
    QPainterPath bird;
    bird.moveTo(30, 70);
    bird.quadTo(55, 25, 80, 62);
    bird.quadTo(105, 25, 130, 70);
    bird.quadTo(80, 58, 30, 70);
    p.drawPath(bird);
    p.setPen(Qt::white);
    QFont f(QStringLiteral("DejaVu Sans"), 34, QFont::Bold);
    p.setFont(f);
    p.drawText(QRectF(140, 10, 210, 70), Qt::AlignVCenter | Qt::AlignLeft, ProductName);
    f.setPointSize(10);
    f.setBold(false);
    p.setFont(f);
    p.drawText(QRectF(140, 72, 215, 30), Qt::AlignVCenter | Qt::AlignLeft, ApplicationTitle);
    return pm;
}

} // namespace vt

depart::depart() {
    setObjectName(QStringLiteral("depart"));
    buildControls();
    buildMenus();
    connectMenus();
    refreshClock();
    setWindowTitle(session().ClubCaption);
    m_label1->setVisible(true);
    // Other windows write their progress texts into Label1 through the registry.
    setMainStatusWriter([self = QPointer<depart>(this)](const QString& text) {
        if (self)
            self->showStatus(text);
    });
    setMainStatusReader([self = QPointer<depart>(this)]() {
        return self ? self->status() : QString();
    });
    memo();
}

void depart::buildControls() {
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("fond"));
    setCentralWidget(central);
    auto* layout = new QVBoxLayout(central);

    m_picture = new QLabel(central);
    m_picture->setObjectName(QStringLiteral("Picture1"));
    m_picture->setPixmap(vorelLogo());
    m_picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_picture, 0, Qt::AlignHCenter);

    m_label1 = new QLabel(central);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_label1->setAlignment(Qt::AlignCenter);
    QFont big = m_label1->font();
    big.setPointSize(14);
    big.setBold(true);
    m_label1->setFont(big);
    m_label1->setWordWrap(true);
    layout->addWidget(m_label1);

    m_text1 = new QLineEdit(central);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setFont(big);
    m_text1->setMaximumWidth(120);
    m_text1->setAlignment(Qt::AlignCenter);
    m_text1->hide();
    m_text1->installEventFilter(this);
    layout->addWidget(m_text1, 0, Qt::AlignHCenter);
    layout->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addStretch(1);
    m_image1 = new QLabel(central);
    m_image1->setObjectName(QStringLiteral("Image1"));
    m_image1->setPixmap(style()->standardIcon(QStyle::SP_DialogCloseButton).pixmap(32, 32));
    m_image1->setCursor(Qt::PointingHandCursor);
    bottom->addWidget(m_image1);
    m_label2 = new QLabel(QStringLiteral("QUITTER"), central);
    m_label2->setObjectName(QStringLiteral("Label2"));
    m_label2->setCursor(Qt::PointingHandCursor);
    QFont bold = m_label2->font();
    bold.setBold(true);
    m_label2->setFont(bold);
    bottom->addWidget(m_label2);
    layout->addLayout(bottom);

    m_pbar = new QProgressBar(central);
    m_pbar->setObjectName(QStringLiteral("PBAR"));
    m_pbar->setTextVisible(false);
    m_pbar->setMaximumWidth(200);
    layout->addWidget(m_pbar);

    // A file list the window carries without using it.
    m_file1 = new QListWidget(central);
    m_file1->setObjectName(QStringLiteral("File1"));
    m_file1->hide();

    m_statusBar = new QStatusBar(this);
    m_statusBar->setObjectName(QStringLiteral("SBStatusBar"));
    m_statusBar->setSizeGripEnabled(false);
    m_clockPanel = new QLabel(m_statusBar);
    m_clockPanel->setObjectName(QStringLiteral("Panel1"));
    m_statusBar->addWidget(m_clockPanel, 1);
    setStatusBar(m_statusBar);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &depart::refreshClock);
    m_timer->start();

    onClick(m_image1, [] { quitProgram(); });
    onClick(m_label2, [] { quitProgram(); });
    m_picture->installEventFilter(this);
    m_label1->installEventFilter(this);

    resize(900, 640);
    setWindowState(Qt::WindowMaximized);
}

void depart::buildMenus() {
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, QAction*& action, const char* name, const QString& caption) {
        action = menu->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
    };
    auto separator = [](QMenu* menu, QAction*& action, const char* name) {
        action = menu->addSeparator();
        action->setObjectName(QString::fromLatin1(name));
    };

    m_ficht = bar->addMenu(QStringLiteral("Fichier"));
    m_ficht->setObjectName(QStringLiteral("ficht"));
    connect(m_ficht, &QMenu::aboutToShow, this, &depart::hideYearEntry);
    item(m_ficht, m_annee, "annee", QStringLiteral("Changer l'année"));
    item(m_ficht, m_chconc, "chconc", QStringLiteral("Choisir les CONCOURS"));
    separator(m_ficht, m_c, "c");
    item(m_ficht, m_rec, "rec", QStringLiteral("Traitement des RODAVAZOVAR des Amateurs"));
    item(m_ficht, m_edrecaps, "edrecaps", QStringLiteral("Editer les récapitulatifs"));
    item(m_ficht, m_mfich, "mfich", QStringLiteral("Mémorisation sur fichier"));
    separator(m_ficht, m_ddd, "ddd");
    item(m_ficht, m_soc, "soc", QStringLiteral("Gestion de la société"));
    item(m_ficht, m_noms, "noms", QStringLiteral("Gestion des Amateurs"));
    item(m_ficht, m_enj, "enj", QStringLiteral("Gestion des Enjeux"));
    item(m_ficht, m_cal, "cal", QStringLiteral("Gestion des Calendriers"));
    item(m_ficht, m_glocal, "glocal",
         QStringLiteral("Gestion des Lieux de Lâcher (Fichier LOCAL)"));
    item(m_ficht, m_dot, "dot", QStringLiteral("Gestion des Lieux de Lâcher (Fichier GENERAL)"));
    separator(m_ficht, m_ss, "ss");
    item(m_ficht, m_quitte, "quitte", QStringLiteral("Quitter"));

    m_aa = bar->addMenu(QStringLiteral("?"));
    m_aa->setObjectName(QStringLiteral("aa"));
    item(m_aa, m_aaide, "aaide", QStringLiteral("Aide"));
    item(m_aa, m_vers, "vers", QStringLiteral("Version"));

    // The race menus stay hidden until races are chosen.
    setRaceMenusVisible(false);
}

// Every menu item is wired here, one block per item: an item whose window is not in the
// program stays disabled.
void depart::connectMenus() {
    connect(m_annee, &QAction::triggered, this, &depart::startYearEntry);

    // chconc opens the calendar chooser calend (race choice), then the race chooser choiconc.
    connect(m_chconc, &QAction::triggered, this, [] {
        windows().unload<calend>();
        session().SubMode = 2;
        session().ListMode = 2;
        windows().show<calend>();
    });

    // rec opens the recap window recapam.
    connect(m_rec, &QAction::triggered, this, [] { markSeasonWindow(&windows().show<recapam>()); });
    // An entry sheet that is left gives the menu Quitter back.
    entrySheetLinks().enableMainQuit = [this] { m_quitte->setEnabled(true); };

    // edrecaps runs PrintClubRecaps, with the progress window when it lasts; the status
    // label then says where the recaps went, or a message why they could not be printed
    // or after how many they were stopped.
    connect(m_edrecaps, &QAction::triggered, this, [this] {
        printWithProgress(
            this, QStringLiteral("récapitulatifs"), QStringLiteral("imprimés"),
            [](PrintProgress& progress) {
                return printClubRecaps(dialogs(), printer(), session(), setMainStatus, progress);
            },
            TellPrinted::StatusWhenDone, [this](const QString& where) { showStatus(where); });
    });

    // mfich opens the calendar chooser calend (export of one race).
    connect(m_mfich, &QAction::triggered, this, [] {
        windows().unload<calend>();
        session().SubMode = 12;
        session().ListMode = 2;
        windows().show<calend>();
    });

    connect(m_soc, &QAction::triggered, this, [] { windows().show<societe>(); });

    // noms opens the fanciers list gnoms.
    connect(m_noms, &QAction::triggered, this, [] { markSeasonWindow(&windows().show<gnoms>()); });

    // enj hides rec and edrecaps, then opens the stake-sheet editor enjeu.
    connect(m_enj, &QAction::triggered, this, [this] {
        setRaceMenusVisible(false);
        windows().show<enjeu>();
    });

    // cal opens the calendar chooser calend, which leads to the calendar editor chdate
    // loaded afresh.
    connect(m_cal, &QAction::triggered, this, [] {
        windows().unload<chdate>();
        windows().window<chdate>();
        windows().unload<calend>();
        session().ListMode = 1;
        windows().show<calend>();
    });

    // glocal opens the local release-site selector distance loaded afresh; one open with
    // changed ticks asks first whether to save them.
    connect(m_glocal, &QAction::triggered, this, [] {
        session().ListMode = 3;
        distance::reopen();
    });

    // dot opens the general release-site editor basedist loaded afresh; one open with
    // unsaved changes asks first whether to save them.
    connect(m_dot, &QAction::triggered, this, [] {
        session().ListMode = 3;
        basedist::reopen();
    });

    connect(m_quitte, &QAction::triggered, this, [] { quitProgram(); });
    connect(m_aaide, &QAction::triggered, this, [] { showHelp(1); });
    connect(m_vers, &QAction::triggered, this, [] { windows().show<frmAbout>(); });
}

void depart::memo() {
    const int before = session().SeasonYear;
    try {
        vt::memo(session());
    } catch (const Error& e) {
        dialogs().inform(e.message(), session().ClubCaption, MsgIcon::Critical);
    }
    if (session().SeasonYear != before)
        setRaceMenusVisible(false);
    setWindowTitle(session().ClubCaption);
    refreshTitle();
    repaint();
}

void depart::refreshTitle() {
    showStatus(session().SeasonYear != 0 ? seasonTitle(session()) : QString());
    m_label1->setVisible(true);
}

void depart::showStatus(const QString& text) {
    m_label1->setText(text);
    m_label1->repaint();
}

QString depart::status() const {
    return m_label1->text();
}

void depart::setRaceMenusVisible(bool visible) {
    m_rec->setVisible(visible);
    m_edrecaps->setVisible(visible);
}

bool depart::raceMenusVisible() const {
    return m_rec->isVisible();
}

QString depart::clockPanelText() const {
    return m_clockPanel->text();
}

QPixmap depart::logo() const {
    return m_picture->pixmap();
}

void depart::refreshClock() {
    m_clockPanel->setText(clockText(now()));
}

void depart::startYearEntry() {
    m_text1->show();
    showStatus(QStringLiteral(" Entrez l'année "));
    m_text1->setText(session().YearShort);
    m_text1->selectAll();
    m_text1->setFocus();
}

void depart::hideYearEntry() {
    m_text1->hide();
}

void depart::yearEntered() {
    const QString typed = m_text1->text();
    if (typed.isEmpty())
        return;
    const int year = yearFromTypedText(typed);
    if (year == 0) {
        dialogs().inform(yearRefusedMessage(), session().ClubCaption, MsgIcon::Exclamation);
        m_text1->setFocus();
        m_text1->selectAll();
        return;
    }
    focusNextChild();
    m_text1->hide();
    showStatus(QString());
    openSeason(year);
}

void depart::openSeason(int year) {
    // Typed work in the season's windows is settled before they close; a cancel keeps the
    // season as it is.
    if (!askBeforeChange(StateChange::Season) || !closeSeasonWindows()) {
        refreshTitle();
        return;
    }
    try {
        openYear(session(), year);
        setRaceMenusVisible(false);
    } catch (const Error& e) {
        dialogs().inform(e.message(), session().ClubCaption, MsgIcon::Critical);
    }
    refreshTitle();
}

bool depart::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text1 && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape) {
            m_text1->clear();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            yearEntered();
            return true;
        }
    }
    if ((watched == m_picture || watched == m_label1) && event->type() == QEvent::MouseButtonPress)
        hideYearEntry();
    return QMainWindow::eventFilter(watched, event);
}

void depart::mousePressEvent(QMouseEvent* event) {
    hideYearEntry();
    m_pbar->setMaximumWidth(QWIDGETSIZE_MAX);
    m_pbar->setFixedWidth(width() - 20);
    QMainWindow::mousePressEvent(event);
}

// The close box ends the program as "Quitter" does.
void depart::closeEvent(QCloseEvent* event) {
    event->ignore();
    quitProgram();
}
