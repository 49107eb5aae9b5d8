#pragma once
// The full-screen background behind the start-up window, with its clock; "QUITTER" ends
// the program.
#include <QElapsedTimer>
#include <QWidget>

class QLabel;
class QStatusBar;
class QTimer;

class plein : public QWidget {
    Q_OBJECT
public:
    plein();

    QString clockPanelText() const;
    // One tick of Timer1: from the second second on, while the program is the one in use,
    // the start-up window comes to the front.
    void tick();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool splashIsBehind() const;
    void raiseSplash();

    QLabel *m_image2, *m_label2, *m_image1, *m_label1, *m_panel;
    QStatusBar* m_statusBar;
    QTimer* m_timer;
    QElapsedTimer m_started;
};
