#include "calend_window.h"

#include "calendar.h"
#include "chdate_window.h"
#include "choiconc_window.h"
#include "depart_window.h"

#include "common/record_file.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/window_registry.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace vt;

calend::calend() {
    setObjectName(QStringLiteral("calend"));
    setWindowTitle(QStringLiteral(" CALENDRIERS des CONCOURS "));
    // It reads the calendars of the season open when it loads: a year change closes it.
    markSeasonWindow(this);
    m_folder = session().YearFolder;
    m_year = session().SeasonYear;
    // The mode is the one set when the window opens, not whatever another menu sets later.
    m_listMode = session().ListMode;
    m_subMode = session().SubMode;

    auto* layout = new QVBoxLayout(this);
    m_frame = new QGroupBox(this);
    m_frame->setObjectName(QStringLiteral("Frame1"));
    layout->addWidget(m_frame);
    auto* inner = new QVBoxLayout(m_frame);
    auto* group = new QButtonGroup(this);
    QFont font(QStringLiteral("MS Sans Serif"), 13);
    font.setBold(true);
    for (int i = 0; i < int(m_options.size()); ++i) {
        auto* option = new QRadioButton(m_frame);
        m_options[i] = option;
        option->setObjectName(QStringLiteral("Option1_%1").arg(i));
        option->setFont(font);
        option->setAutoFillBackground(true);
        option->setMinimumWidth(533); // 8000 twips
        setColours(option, false);
        option->setVisible(false);
        group->addButton(option, i);
        inner->addWidget(option);
        if (i >= 1)
            connect(option, &QRadioButton::clicked, this, [this, i] { chooseCalendar(i); });
    }
    // The calendar in use carries the club's name; the others are never shown.
    m_options[1]->setText(trim(session().ClubNames.value(1)));
    m_options[1]->setVisible(true);
    m_options[0]->setChecked(true);
}

void calend::setCalendarFolder(const QString& folder, int year) {
    m_folder = folder;
    m_year = year;
}

void calend::setColours(QRadioButton* option, bool chosen) {
    // A button fills its background with the Button colour and writes with ButtonText or
    // WindowText depending on the style: each pair gets the same colour.
    const QColor back = chosen ? QColor(0xC0, 0xFF, 0xFF) : QColor(0xFF, 0xFF, 0xC0);
    const QColor text = chosen ? QColor(0xFF, 0, 0) : QColor(0, 0, 0xC0);
    QPalette p = option->palette();
    p.setColor(QPalette::Window, back);
    p.setColor(QPalette::Button, back);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::ButtonText, text);
    option->setPalette(p);
}

void calend::selectNeutral() {
    m_options[0]->setChecked(true);
    m_calendarNo = 0;
    for (QRadioButton* option : m_options)
        setColours(option, false);
}

void calend::chooseCalendar(int index) {
    m_calendarNo = index;
    if (index < 1 || index >= int(session().CalendarBaseNames.size()))
        return;
    for (QRadioButton* option : m_options)
        setColours(option, option == m_options[index]);
    const QString caption = m_options[index]->text();
    const QString title = QStringLiteral("CALENDRIER : ") + caption;
    const QString calendarPath =
        resolveFile(m_folder, session().CalendarBaseNames[index] + QStringLiteral(".cal"));
    QList<CalendarRaceRecord> records;
    {
        DamageNotice damage(dialogs());
        records = readCalendar(calendarPath);
    }
    hide();

    if (m_listMode == 1) {
        QStringList sites;
        for (const ReleaseSiteRecord& site :
             RecordFileOf<ReleaseSiteRecord>(resolvePath(session().LocalSitesPath)).readAll())
            sites.append(site.siteName());
        chdate& editor = windows().window<chdate>();
        editor.fill(title, calendarPath, m_folder, m_year, editorLines(records), sites);
        windows().show<chdate>();
        windows().unload<calend>();
        return;
    }

    const RaceChoiceLists lists = raceChoiceLists(records);
    choiconc& chooser = windows().window<choiconc>();
    chooser.setWindowTitle(title);
    if (lists.keys.isEmpty()) {
        // No race to offer: the main window says so and no window opens.
        setMainStatus(QStringLiteral("Il n'y à pas de concours au calendrier de ") + trim(caption));
        return;
    }
    chooser.fill(title, index, calendarPath, lists, m_subMode == 12);
    windows().show<choiconc>();
    windows().unload<calend>();
}
