#pragma once
// The background window behind Tarvio's start-up window and its release-site editor:
// a picture over the whole screen, a line of information and a status-bar clock.
#include <QWidget>

class QLabel;
class QStatusBar;
class QTimer;

namespace vt::tarvio {

class plein : public QWidget {
    Q_OBJECT
public:
    plein();
    QString clockPanelText() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Timer1_Timer();
    void Image2_Click();

    QLabel* m_image2;
    QLabel* m_label2;
    QStatusBar* m_statusBar;
    QLabel* m_panel1;
    QTimer* m_timer1;
};

} // namespace vt::tarvio
