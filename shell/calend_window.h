#pragma once
// The calendar chooser: a click on the club's calendar fills the calendar editor (mode 1)
// or the race chooser (other modes) with the calendar's races and shows it.
#include <QWidget>

#include <array>

class QGroupBox;
class QRadioButton;

class calend : public QWidget {
    Q_OBJECT
public:
    calend();

    // The folder and year whose calendar is opened (the season's unless the calendar
    // editor's year entry chose another).
    void setCalendarFolder(const QString& folder, int year);
    // The mode read at load from Session::ListMode: 1 fills the calendar editor, any other
    // value the race chooser (for the export of one race when Session::SubMode was 12). The
    // calendar editor's year entry sets it back to 1.
    void setListMode(int mode) { m_listMode = mode; }
    // Selects the neutral option, so that the calendar option can be clicked again, and
    // gives the options their normal colours.
    void selectNeutral();

    // Option1_Click: opens calendar `index` and goes on to the next window.
    void chooseCalendar(int index);
    int calendarNo() const { return m_calendarNo; }

private:
    void setColours(QRadioButton* option, bool chosen);

    QGroupBox* m_frame = nullptr;
    std::array<QRadioButton*, 13> m_options{};
    int m_calendarNo = 0;
    QString m_folder;
    int m_year = 0;
    int m_listMode = 0;
    int m_subMode = 0;
};
