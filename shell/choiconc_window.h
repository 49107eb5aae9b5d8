#pragma once
// The race chooser: a double-click on an offered race chooses it at the selected level
// (its base file is written and the race set up), a double-click on a chosen race removes
// it, "Quitter" hands the chosen races over. In export mode a double-click leads to the
// folder choice and "Mémoriser" exports the race.
#include "calendar.h"

#include <QMainWindow>

#include <array>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

class choiconc : public QMainWindow {
    Q_OBJECT
public:
    choiconc();

    // Filled by the calendar chooser: caption, calendar number and file, the hidden keys
    // and the offered lines, and whether it opens for the export of one race (SubMode 12)
    // or for the choice of the basketing's races.
    void fill(const QString& caption, int calendarNo, const QString& calendarPath,
              const vt::RaceChoiceLists& lists, bool exportMode);

    // The handlers, callable by tests as the clicks do.
    void chooseOffered(int row); // List2_DblClick
    void removeChosen(int row);  // List3_DblClick
    void exportChosen();         // Command1_Click, "Mémoriser"
    void quit();                 // menu_Click, "Quitter"
    void setExportFolder(const QString& folder);

    QStringList chosenLines() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    int selectedLevel() const;
    void showExportPickers(bool shown);
    void browse();

    QGroupBox* m_frame1 = nullptr;
    std::array<QRadioButton*, 4> m_options{};
    QListWidget *m_list1 = nullptr, *m_list2 = nullptr, *m_list3 = nullptr, *m_file1 = nullptr;
    QLabel* m_etiquette4 = nullptr;
    QPushButton *m_drive1 = nullptr, *m_command1 = nullptr;
    QLineEdit* m_dir1 = nullptr;
    QAction *m_menu = nullptr, *m_aide = nullptr;

    int m_calendarNo = 1;
    QString m_calendarPath;
    int m_exportCode = 0;
    bool m_exportMode = false;
    bool m_quitting = false;
};
