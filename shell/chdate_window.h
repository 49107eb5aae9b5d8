#pragma once
// The calendar editor: the user picks a line of the race list, a local release site, a
// month, a day and a category, and stores the race with "MEMORISER"; "ANNULER" withdraws
// the race of the selected line; the menu changes the calendar's year and prints it.
#include <QMainWindow>

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class chdate : public QMainWindow {
    Q_OBJECT
public:
    chdate();

    // Filled by the calendar chooser: caption, the calendar file, its folder and year,
    // the race lines and the local release sites (25 characters each).
    void fill(const QString& caption, const QString& calendarPath, const QString& folder,
              int year, const QStringList& raceLines, const QStringList& siteNames);

    // The handlers, callable by tests as the clicks do.
    void pickLine(int index);       // List1_Click
    void chooseCategory(int index); // Option1_Click
    void chooseMonth(int row);      // Lst2_Click
    void store();                   // Commande1_Click, "MEMORISER"
    void withdraw();                // Command3_Click, "ANNULER"
    void startYearEntry();          // ann_Click
    void printCalendarList();       // imp_Click
    void quit();                    // quitte_Click

    int calendarPosition() const { return m_position; }
    QString summary() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void showRaceSummary();
    bool yearEntered();
    void setDays(int month);
    QStringList raceLines() const;
    void clearSelections();

    QListWidget *m_list1 = nullptr, *m_lst1 = nullptr, *m_lst2 = nullptr, *m_lst3 = nullptr;
    QGroupBox* m_cadre1 = nullptr;
    std::array<QRadioButton*, 4> m_options{};
    QLabel *m_label1 = nullptr, *m_etiquette4 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QPushButton *m_commande1 = nullptr, *m_command3 = nullptr;
    QAction *m_ann = nullptr, *m_imp = nullptr, *m_quitte = nullptr, *m_aide = nullptr;

    // The editor's own calendar, folder and year, and what the user has picked.
    QString m_calendarPath, m_folder;
    int m_year = 0;
    int m_position = 0;
    int m_listPosition = -1;
    // True when the line of m_listPosition was picked by the user; the line "MEMORISER"
    // moves to is only shown, and "ANNULER" never withdraws a race the user did not pick.
    bool m_linePicked = false;
    int m_category = 0;
    QString m_rememberedDay;
    QString m_raceName, m_raceDateText;
    bool m_quitting = false;
};
