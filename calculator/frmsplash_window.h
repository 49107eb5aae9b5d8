#pragma once
// Tarvio's start-up window: it records where distgen lies, puts the background window
// behind itself and opens the main window on a click.
#include <QPixmap>
#include <QWidget>

class QLabel;

namespace vt::tarvio {

// The program's logo (the About box shows it too).
QPixmap tarvioLogo();

class frmSplash : public QWidget {
    Q_OBJECT
public:
    frmSplash();
    QPixmap logo() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void openMainWindow();
    QLabel* m_image1;
    QLabel* m_imgLogo;
    QLabel* m_label1;
};

} // namespace vt::tarvio
