#include "choiconc_window.h"

#include "entries/recapam_window.h"

#include "depart_window.h"
#include "race_export.h"
#include "race_setup.h"

#include "common/errors.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/window_registry.h"

#include <QCloseEvent>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace vt;

namespace {

// Shows the recap window once the chosen races are handed over: an open one has just read
// its list again (it follows the chosen races), a new one reads it as it loads, so that it
// lists what the fanciers owe for the races just chosen.
void showRecapWindow() {
    windows().show<recapam>();
}

// True when `code` is one of the season's chosen races: the windows show and save it.
bool isChosenRace(int code) {
    return session().chosenRaces().contains(code);
}

QListWidget* makeList(QWidget* parent, const char* name, const QFont& font) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    list->setFont(font);
    return list;
}

} // namespace

choiconc::choiconc() {
    setObjectName(QStringLiteral("choiconc"));
    setWindowTitle(QStringLiteral("CLIQUEZ 2 FOIS SUR LE CONCOURS SOUHAITE"));
    markSeasonWindow(this);
    m_exportMode = session().SubMode == 12;
    m_menu = menuBar()->addAction(QStringLiteral("Quitter"));
    m_menu->setObjectName(QStringLiteral("menu"));
    m_aide = menuBar()->addAction(QStringLiteral("?"));
    m_aide->setObjectName(QStringLiteral("aide"));

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);
    m_frame1 = new QGroupBox(central);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    auto* levels = new QVBoxLayout(m_frame1);
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(LevelNames[i], m_frame1);
        m_options[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        levels->addWidget(m_options[i]);
    }
    m_options[0]->setChecked(true);

    QFont fixed(QStringLiteral("Courier New"), 12);
    fixed.setBold(true);
    fixed.setStyleHint(QFont::Monospace);
    m_list2 = makeList(central, "List2", fixed);
    m_list2->setToolTip(QStringLiteral(" CLIQUEZ 2 fois sur le CONCOURS SOUHAITE "));
    m_list1 = makeList(central, "List1", fixed);
    m_list1->hide();
    m_list3 = makeList(central, "List3", fixed);
    m_list3->setToolTip(QStringLiteral(" CLIQUEZ 2 fois sur le CONCOURS à SUPPRIMER"));
    m_etiquette4 = new QLabel(central);
    m_etiquette4->setObjectName(QStringLiteral("Etiquette4"));

    m_drive1 = new QPushButton(QStringLiteral("Choisir le dossier..."), central);
    m_drive1->setObjectName(QStringLiteral("Drive1"));
    m_dir1 = new QLineEdit(central);
    m_dir1->setObjectName(QStringLiteral("Dir1"));
    m_dir1->setToolTip(QStringLiteral("CLIQUEZ 2 FOIS SUR LE DOSSIER SOUHAITE"));
    m_dir1->setReadOnly(true);
    m_file1 = makeList(central, "File1", QFont());
    m_command1 = new QPushButton(QStringLiteral("Mémoriser"), central);
    m_command1->setObjectName(QStringLiteral("Command1"));

    grid->addWidget(m_frame1, 0, 0);
    grid->addWidget(m_list2, 0, 1);
    grid->addWidget(m_drive1, 1, 0);
    grid->addWidget(m_dir1, 1, 1);
    grid->addWidget(m_file1, 2, 1);
    grid->addWidget(m_command1, 2, 0);
    grid->addWidget(m_etiquette4, 3, 0, 1, 2);
    grid->addWidget(m_list3, 4, 0, 1, 2);
    showExportPickers(false);

    // A line is activated by a double-click or by Enter on the current line.
    connect(m_list2, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { chooseOffered(m_list2->row(item)); });
    connect(m_list3, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { removeChosen(m_list3->row(item)); });
    connect(m_drive1, &QPushButton::clicked, this, &choiconc::browse);
    connect(m_command1, &QPushButton::clicked, this, &choiconc::exportChosen);
    connect(m_menu, &QAction::triggered, this, &choiconc::quit);
    connect(m_aide, &QAction::triggered, this, [this] { showHelp(m_exportMode ? 9 : 2); });
    resize(900, 600);
}

void choiconc::fill(const QString& caption, int calendarNo, const QString& calendarPath,
                    const RaceChoiceLists& lists, bool exportMode) {
    setWindowTitle(caption);
    m_exportMode = exportMode;
    m_calendarNo = calendarNo;
    m_calendarPath = calendarPath;
    m_list1->clear();
    m_list1->addItems(lists.keys);
    m_list2->clear();
    m_list2->addItems(lists.offered);
}

QStringList choiconc::chosenLines() const {
    QStringList lines;
    for (int i = 0; i < m_list3->count(); ++i)
        lines.append(m_list3->item(i)->text());
    return lines;
}

int choiconc::selectedLevel() const {
    for (int i = 0; i < 4; ++i)
        if (m_options[i]->isChecked())
            return i;
    return 0;
}

void choiconc::showExportPickers(bool shown) {
    m_list2->setVisible(!shown);
    m_drive1->setVisible(shown);
    m_dir1->setVisible(shown);
    m_command1->setVisible(shown);
    m_file1->setVisible(shown && !m_dir1->text().isEmpty());
}

void choiconc::setExportFolder(const QString& folder) {
    m_dir1->setText(QDir::toNativeSeparators(folder));
    m_file1->clear();
    m_file1->addItems(QDir(folder).entryList(QDir::Files, QDir::Name));
    m_file1->setVisible(m_dir1->isVisible());
}

void choiconc::browse() {
    const QString folder =
        dialogs().chooseFolder(QStringLiteral("Dossier de l'exportation"),
                               m_dir1->text().isEmpty() ? session().StartDir : m_dir1->text());
    if (!folder.isEmpty())
        setExportFolder(folder);
}

void choiconc::chooseOffered(int row) {
    if (row < 0 || row >= m_list1->count())
        return;
    const int race = raceFromSortKey(m_list1->item(row)->text());
    if (race == 0)
        return;
    const int level = selectedLevel();
    const int code = raceCode(level, race);
    if (isAlreadyChosen(chosenLines(), code)) {
        showAlreadyChosen(dialogs(), m_list2->item(row)->text());
        return;
    }
    if (m_exportMode) {
        m_exportCode = code;
        if (m_dir1->text().isEmpty())
            setExportFolder(session().StartDir);
        showExportPickers(true);
        return;
    }
    // Setting up a chosen race again rewrites its files under the windows that show it:
    // their typed work is settled first, and they follow the new state afterwards.
    const bool chosen = isChosenRace(code);
    if (chosen && !askBeforeChange(StateChange::Races))
        return;
    CalendarRaceRecord record;
    try {
        record = writeRaceBase(m_calendarPath, session().YearFolder, race, level);
    } catch (const Error& e) {
        MessageRequest m;
        m.text = e.message();
        m.icon = MsgIcon::Exclamation;
        dialogs().message(m);
        return;
    }
    m_etiquette4->setText(chosenRaceSummary(record));
    const RaceSetupResult r =
        setupRace(dialogs(), RaceSetupPaths::fromSession(session()), race, level, record);
    if (chosen)
        tellAfterChange(StateChange::Races);
    if (!r.added)
        return;
    m_list3->addItem(r.chosenLine);
    if (m_list3->count() > MaxChosenRaces - 1) {
        m_list2->hide();
        m_etiquette4->setText(QStringLiteral("Vous ne pouvez choisir plus de 11 concours"));
    }
}

void choiconc::removeChosen(int row) {
    if (row < 0 || row >= m_list3->count())
        return;
    delete m_list3->takeItem(row);
    m_list2->show();
    m_etiquette4->clear();
}

void choiconc::exportChosen() {
    if (m_exportCode == 0)
        return;
    // The export writes what is stored: typed work on that race is settled first.
    if (isChosenRace(m_exportCode) && !askBeforeChange(StateChange::Races))
        return;
    const ExportResult r =
        exportRace(dialogs(), m_exportCode, session().YearFolder, session().FancierFilePath,
                   QDir::fromNativeSeparators(m_dir1->text()));
    showExportPickers(false);
    if (r.outcome == ExportOutcome::Written || r.outcome == ExportOutcome::Declined) {
        m_quitting = true;
        windows().unload<choiconc>();
    }
}

void choiconc::quit() {
    // Leaving the export hands no race over: the basketing stays as it was, with its chosen
    // races, its race menus and the recap window working on them. Races chosen here before
    // the chooser was turned to the export are handed over as in the choice of races.
    if (m_exportMode && m_list3->count() == 0) {
        m_quitting = true;
        windows().unload<choiconc>();
        return;
    }
    // The chosen races are replaced: typed work on the old ones is settled first (a cancel
    // keeps the chooser open), and the windows that showed them follow afterwards.
    if (!askBeforeChange(StateChange::Races))
        return;
    const int n = storeChosenRaces(session(), chosenLines(), m_calendarNo);
    tellAfterChange(StateChange::Races);
    if (n > 0) {
        revealRaceMenus();
        showRecapWindow();
    } else {
        if (windows().isLoaded<depart>())
            windows().window<depart>().setRaceMenusVisible(false);
    }
    m_quitting = true;
    windows().unload<choiconc>();
}

void choiconc::closeEvent(QCloseEvent* event) {
    // A year change drops the races chosen here: they belong to the season being left, and
    // "Quitter" would store them and open that season's recap window.
    if (!m_quitting && !seasonChanging()) {
        event->ignore();
        quit();
        return;
    }
    QMainWindow::closeEvent(event);
}
