#pragma once
// The main window: the menu that leads to every other window, the status label that
// names the club and the season (other windows write their progress texts into it), the
// year entry and the status-bar clock.
#include <QMainWindow>
#include <QPixmap>

// setMainStatus, markSeasonWindow and seasonChanging, which callers of the main window use.
#include "platform/window_registry.h"

#include <functional>

class QAction;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QStatusBar;
class QTimer;

class depart : public QMainWindow {
    Q_OBJECT
public:
    depart();

    // Sets the paths and, on the first run, opens the season of today's year; run again
    // (after the club form's save) it keeps the open season. Refreshes the caption and
    // the status label.
    void memo();

    // The status label Label1.
    void showStatus(const QString& text);
    QString status() const;

    // Shows or hides the race menus rec and edrecaps together.
    void setRaceMenusVisible(bool visible);
    bool raceMenusVisible() const;

    // "Changer l'année": the year box opens with the season's two digits selected.
    void startYearEntry();

    // The text of the first status-bar panel.
    QString clockPanelText() const;
    QPixmap logo() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void buildMenus();
    void connectMenus();
    void refreshClock();
    void yearEntered();
    void hideYearEntry();
    void openSeason(int year);
    void refreshTitle();

    QLabel* m_picture = nullptr;
    QLabel* m_label1 = nullptr;
    QLineEdit* m_text1 = nullptr;
    QLabel* m_image1 = nullptr;
    QLabel* m_label2 = nullptr;
    QStatusBar* m_statusBar = nullptr;
    QLabel* m_clockPanel = nullptr;
    QTimer* m_timer = nullptr;
    QProgressBar* m_pbar = nullptr;
    QListWidget* m_file1 = nullptr;

    QMenu* m_ficht = nullptr;
    QMenu* m_aa = nullptr;
    QAction *m_annee = nullptr, *m_chconc = nullptr, *m_c = nullptr, *m_rec = nullptr,
            *m_edrecaps = nullptr, *m_mfich = nullptr, *m_ddd = nullptr, *m_soc = nullptr,
            *m_noms = nullptr, *m_enj = nullptr, *m_cal = nullptr, *m_glocal = nullptr,
            *m_dot = nullptr, *m_ss = nullptr, *m_quitte = nullptr, *m_aaide = nullptr,
            *m_vers = nullptr;
};

namespace vt {

// Shows the main window's menus rec and edrecaps (once races have been chosen).
void revealRaceMenus();
// Runs `action` when the widget is clicked with the left button.
void onClick(QWidget* widget, std::function<void()> action);
// The program's logo.
QPixmap vorelLogo();

} // namespace vt
