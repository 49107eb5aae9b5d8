#pragma once
// The start-up window: it fixes the folders, reads the club and shows the club's name
// and the version in front of the full-screen background; "SUITE" opens the main window.
#include <QWidget>

class QLabel;

class frmSplash : public QWidget {
    Q_OBJECT
public:
    enum class Road { Club, FirstRun, Failed };

    // The load: shows the background window, enters the data folder, reads the club.
    frmSplash();
    Road road() const { return m_road; }
    const QString& failure() const { return m_failure; }

    // "SUITE" or the picture: the main window, then both start-up windows close.
    void suite();

private:
    QLabel *m_image1, *m_label1, *m_lblClubName, *m_lblVersion;
    Road m_road = Road::Failed;
    QString m_failure;
};

namespace vt {
// Starts Vorel in `startDir`: the start-up window with the club, or the club form on a
// first run. False when the program cannot run (the message has been shown).
bool startVorel(const QString& startDir);
// "Version GPS 2.0.0", the version line of the start-up window.
QString splashVersionText();
} // namespace vt
