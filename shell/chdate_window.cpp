#include "chdate_window.h"

#include "calend_window.h"
#include "calendar.h"
#include "depart_window.h"
#include "race_withdrawal.h"

#include "common/dates.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/box_keys.h"
#include "platform/dialogs.h"
#include "platform/help.h"
#include "platform/list_keys.h"
#include "platform/printing.h"
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

QListWidget* makeList(QWidget* parent, const char* name) {
    auto* list = new QListWidget(parent);
    list->setObjectName(QString::fromLatin1(name));
    return list;
}

// The row of the line the user picked, or -1: a list given the focus makes a row current
// without selecting it, and that row was never picked.
int selectedRow(const QListWidget* list) {
    return list->currentItem() && list->currentItem()->isSelected() ? list->currentRow() : -1;
}

void showError(const Error& e) {
    MessageRequest m;
    m.text = e.message();
    m.icon = MsgIcon::Exclamation;
    dialogs().message(m);
}

} // namespace

chdate::chdate() {
    setObjectName(QStringLiteral("chdate"));
    setWindowTitle(QStringLiteral("CHOIX du CONCOURS"));
    m_year = session().SeasonYear;
    m_folder = session().YearFolder;
    // It works on the calendars of the season open when it loads: a year change closes it
    // with the season's other windows.
    markSeasonWindow(this);

    QMenu* ff = menuBar()->addMenu(QStringLiteral("Fichier"));
    ff->setObjectName(QStringLiteral("ff"));
    m_ann = ff->addAction(QStringLiteral("Année"));
    m_ann->setObjectName(QStringLiteral("ann"));
    m_imp = ff->addAction(QStringLiteral("Imprimer"));
    m_imp->setObjectName(QStringLiteral("imp"));
    m_quitte = menuBar()->addAction(QStringLiteral("Quitter"));
    m_quitte->setObjectName(QStringLiteral("quitte"));
    m_aide = menuBar()->addAction(QStringLiteral("?"));
    m_aide->setObjectName(QStringLiteral("aide"));

    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* grid = new QGridLayout(central);
    m_list1 = makeList(central, "List1");
    QFont fixed(QStringLiteral("Courier New"), 10);
    fixed.setStyleHint(QFont::Monospace);
    m_list1->setFont(fixed);
    m_list1->setMinimumWidth(440);
    m_lst1 = makeList(central, "lst1");
    m_lst2 = makeList(central, "Lst2");
    m_lst3 = makeList(central, "lst3");
    m_lst3->setMaximumWidth(60);
    m_cadre1 = new QGroupBox(QStringLiteral("CHOISSISSEZ LA CATEGORIE"), central);
    m_cadre1->setObjectName(QStringLiteral("Cadre1"));
    auto* cats = new QVBoxLayout(m_cadre1);
    for (int i = 0; i < 4; ++i) {
        m_options[i] = new QRadioButton(CategoryNames[i], m_cadre1);
        m_options[i]->setObjectName(QStringLiteral("Option1_%1").arg(i));
        cats->addWidget(m_options[i]);
        connect(m_options[i], &QRadioButton::clicked, this, [this, i] { chooseCategory(i); });
    }
    m_options[0]->setChecked(true);
    m_label1 = new QLabel(central);
    m_label1->setObjectName(QStringLiteral("Label1"));
    m_etiquette4 = new QLabel(central);
    m_etiquette4->setObjectName(QStringLiteral("Etiquette4"));
    m_etiquette4->setMinimumWidth(400);
    m_text1 = new QLineEdit(central);
    m_text1->setObjectName(QStringLiteral("Text1"));
    m_text1->setMaxLength(4);
    m_text1->setMaximumWidth(60);
    m_text1->hide();
    m_commande1 = new QPushButton(QStringLiteral("MEMORISER"), central);
    m_commande1->setObjectName(QStringLiteral("Commande1"));
    m_command3 = new QPushButton(QStringLiteral("ANNULER"), central);
    m_command3->setObjectName(QStringLiteral("Command3"));

    grid->addWidget(m_list1, 0, 0, 3, 1);
    grid->addWidget(m_lst1, 0, 1, 3, 1);
    grid->addWidget(m_lst2, 0, 2, 3, 1);
    grid->addWidget(m_lst3, 0, 3, 3, 1);
    grid->addWidget(m_cadre1, 0, 4);
    grid->addWidget(m_commande1, 1, 4);
    grid->addWidget(m_command3, 2, 4);
    grid->addWidget(m_label1, 3, 0);
    grid->addWidget(m_etiquette4, 3, 1, 1, 3);
    grid->addWidget(m_text1, 3, 4);

    onListClick(m_list1, [this](int row) { pickLine(row); });
    onListClick(m_lst1, [this](int) { showRaceSummary(); });
    onListClick(m_lst2, [this](int row) { chooseMonth(row); });
    onListClick(m_lst3, [this](int) { showRaceSummary(); });
    connect(m_commande1, &QPushButton::clicked, this, &chdate::store);
    connect(m_command3, &QPushButton::clicked, this, &chdate::withdraw);
    connect(m_ann, &QAction::triggered, this, &chdate::startYearEntry);
    connect(m_imp, &QAction::triggered, this, &chdate::printCalendarList);
    connect(m_quitte, &QAction::triggered, this, &chdate::quit);
    connect(m_aide, &QAction::triggered, this, [] { showHelp(6); });
    installBoxKeys(m_text1, nullptr, [this] { return yearEntered(); });
    resize(1100, 560);
}

void chdate::fill(const QString& caption, const QString& calendarPath, const QString& folder,
                  int year, const QStringList& raceLines, const QStringList& siteNames) {
    setWindowTitle(caption);
    m_calendarPath = calendarPath;
    m_folder = folder;
    m_year = year;
    // A new fill starts with no line picked.
    m_position = 0;
    m_listPosition = -1;
    m_linePicked = false;
    m_list1->clear();
    m_list1->addItems(raceLines);
    m_lst1->clear();
    m_lst1->addItems(siteNames);
    m_lst2->clear();
    m_lst2->addItems(calendarMonthNames());
    m_lst3->clear();
    m_lst3->addItems(calendarDayLines(0, m_year));
    m_label1->clear();
    m_etiquette4->clear();
}

QString chdate::summary() const {
    return m_etiquette4->text();
}

QStringList chdate::raceLines() const {
    QStringList lines;
    for (int i = 0; i < m_list1->count(); ++i)
        lines.append(m_list1->item(i)->text());
    return lines;
}

void chdate::chooseCategory(int index) {
    m_category = index;
    m_options[index]->setChecked(true);
    m_etiquette4->setText(m_raceName + u' ' + m_raceDateText + u' ' + CategoryNames[index]);
}

void chdate::showRaceSummary() {
    m_raceName.clear();
    m_raceDateText.clear();
    if (QListWidgetItem* day = m_lst3->currentItem(); day && day->isSelected())
        m_rememberedDay = day->text();
    const int month = m_lst2->currentRow() + 1;
    if (!m_rememberedDay.isEmpty() && month >= 1 && m_lst2->currentItem()->isSelected()) {
        const QDate date(m_year, month, int(val(m_rememberedDay)));
        if (date.isValid())
            m_raceDateText = frenchDate(date, QStringLiteral("dd mmmm yyyy"));
    }
    if (QListWidgetItem* site = m_lst1->currentItem(); site && site->isSelected())
        m_raceName = trim(site->text());
    m_etiquette4->setText(m_raceName + u' ' + m_raceDateText + u' ' + CategoryNames[m_category]);
}

void chdate::setDays(int month) {
    const int selected = selectedRow(m_lst3);
    const QStringList days = calendarDayLines(month, m_year);
    m_lst3->clear();
    m_lst3->addItems(days);
    if (selected >= 0 && selected < days.size())
        m_lst3->setCurrentRow(selected);
}

void chdate::chooseMonth(int row) {
    if (row >= 0 && row < m_lst2->count())
        m_lst2->setCurrentRow(row);
    setDays(row + 1);
    showRaceSummary();
}

void chdate::clearSelections() {
    for (QListWidget* list : {m_lst1, m_lst2, m_lst3}) {
        list->clearSelection();
        list->setCurrentRow(-1);
    }
}

void chdate::pickLine(int index) {
    if (index < 0 || index >= m_list1->count())
        return;
    m_list1->setCurrentRow(index);
    m_listPosition = index;
    m_linePicked = true;
    const QString line = m_list1->item(index)->text();
    m_position = calendarLineRace(line);
    const CalendarRaceRecord record =
        m_position >= 1 ? RecordFileOf<CalendarRaceRecord>(m_calendarPath).read(m_position)
                        : CalendarRaceRecord();
    chooseCategory(calendarCategory(record));
    m_label1->setText(QStringLiteral(" POSITION de la MEMORISATION ") +
                      QString::number(m_position));
    m_etiquette4->clear();
    // The selections of the previous race never carry over to this one.
    clearSelections();
    setDays(0);
    if (line.size() < 4)
        return;
    const QDate date = parseLongDate(Mid(line, 21, 18));
    if (date.isValid())
        chooseMonth(date.month() - 1);
    const int site = matchSiteLine(
        [this] {
            QStringList names;
            for (int i = 0; i < m_lst1->count(); ++i)
                names.append(m_lst1->item(i)->text());
            return names;
        }(),
        Mid(line, 5, 15));
    if (site >= 0) {
        m_lst1->setCurrentRow(site);
        showRaceSummary();
    }
    if (date.isValid() && date.day() <= m_lst3->count()) {
        m_lst3->setCurrentRow(date.day() - 1);
        showRaceSummary();
    }
    m_etiquette4->setText(Mid(line, 4));
}

void chdate::store() {
    if (m_position == 0)
        return;
    CalendarEntry entry;
    entry.position = m_position;
    const int site = selectedRow(m_lst1);
    entry.siteRecord = site + 1;
    entry.siteText = site >= 0 ? m_lst1->item(site)->text() : QString();
    entry.month = selectedRow(m_lst2) + 1;
    const int day = selectedRow(m_lst3);
    entry.day = day >= 0 ? int(val(m_lst3->item(day)->text())) : 0;
    entry.year = m_year;
    entry.category = m_category;
    // A site name longer than the calendar's 15 characters is stored only when the user
    // agrees to the shorter name.
    if (const QString q = calendarSiteCutQuestion(entry);
        !q.isEmpty() && !dialogs().askYesNo(q, windowTitle(), MsgAnswer::Yes))
        return;
    CalendarRaceRecord stored;
    try {
        stored = storeCalendarRace(m_calendarPath, resolvePath(session().LocalSitesPath), entry);
    } catch (const Error& e) {
        showError(e);
        return;
    }
    QStringList lines = raceLines();
    const int next = applyStoredLine(lines, m_listPosition, CalendarRaceLine(m_position, stored));
    m_list1->clear();
    m_list1->addItems(lines);
    m_list1->setCurrentRow(m_listPosition);
    // The next line is shown for the next "MEMORISER", not picked.
    if (next >= 0) {
        pickLine(next);
        m_linePicked = false;
    }
    const QString line = m_list1->item(m_listPosition)->text();
    m_etiquette4->setText(line.size() > 4 ? Mid(line, 5) : QString());
    if (m_etiquette4->text().isEmpty())
        clearSelections();
}

void chdate::withdraw() {
    const int row = selectedRow(m_list1);
    if (row < 0 || !m_linePicked || row != m_listPosition)
        return;
    // A chosen race whose files the withdrawal deletes leaves the chosen races: the windows
    // that hold typed work on it are asked first, and the others follow afterwards.
    const QList<int> chosen = chosenRacesAt(session(), m_folder, row + 1);
    try {
        const WithdrawalResult r = withdrawRace(
            dialogs(), m_calendarPath, m_folder, row + 1, m_list1->item(row)->text(),
            [&chosen] { return chosen.isEmpty() || askBeforeChange(StateChange::Races); });
        // The record is empty on either answer, so the line shows a free position.
        if (r.done)
            m_list1->item(row)->setText(r.freeLine);
        if (r.confirmed && !chosen.isEmpty()) {
            leaveChosenRaces(session(), chosen);
            tellAfterChange(StateChange::Races);
            if (session().chosenRaces().isEmpty() && windows().isLoaded<depart>())
                windows().window<depart>().setRaceMenusVisible(false);
        }
    } catch (const Error& e) {
        showError(e);
    }
}

void chdate::startYearEntry() {
    m_text1->show();
    m_etiquette4->setText(QStringLiteral(" Entrez l'année "));
    m_text1->setText(Right(QString::number(m_year), 2));
    m_text1->selectAll();
    m_text1->setFocus();
}

bool chdate::yearEntered() {
    if (m_text1->text().isEmpty())
        return false;
    const int year = yearFromTypedText(m_text1->text());
    if (year == 0) {
        MessageRequest m;
        m.text = QStringLiteral("Tapez l'année en chiffres, par exemple 05.");
        m.icon = MsgIcon::Exclamation;
        dialogs().message(m);
        return false;
    }
    m_text1->hide();
    m_etiquette4->clear();
    const QString folder = QDir(session().DataFolder).filePath(QString::number(year));
    try {
        ensureFolder(folder);
    } catch (const Error& e) {
        showError(e);
        return false;
    }
    // The chooser opens the chosen year's calendar; this editor takes that folder and
    // year when the chooser fills it again. It leads back here whatever mode another menu
    // has left since the editor was opened.
    windows().unload<calend>();
    calend& chooser = windows().window<calend>();
    chooser.setListMode(1);
    chooser.setCalendarFolder(folder, year);
    chooser.selectNeutral();
    windows().show<calend>();
    return true;
}

void chdate::printCalendarList() {
    if (m_list1->count() == 0)
        return;
    // Said over this window, where the user is.
    tellWherePrinted(printCalendar(printer(), windowTitle(), raceLines()), windowTitle());
}

void chdate::quit() {
    if (windows().isLoaded<calend>()) {
        calend& chooser = windows().window<calend>();
        chooser.selectNeutral();
        chooser.hide();
    }
    m_quitting = true;
    windows().unload<chdate>();
    if (windows().isLoaded<depart>())
        windows().window<depart>().update();
}

// The close box does what "Quitter" does, and the window closes.
void chdate::closeEvent(QCloseEvent* event) {
    if (!m_quitting)
        quit();
    QMainWindow::closeEvent(event);
}
