#pragma once
// The About box: title, version, description and designer, the warning that names the
// club responsible for the program's use, and the system-information button.
#include <QWidget>

class QLabel;
class QPushButton;

class frmAbout : public QWidget {
    Q_OBJECT
public:
    frmAbout();

    // "Infos système...": starts the system-information program, or says it cannot.
    void StartSysInfo();

private:
    QLabel *m_image1, *m_lblTitle, *m_lblVersion, *m_lblDescription, *m_lblDisclaimer;
    QPushButton *m_cmdOK, *m_cmdSysInfo;
};

namespace vt {
// "Avertissement : ce logiciel ne peut être utilisé que sous la responsabilité de " and
// the club caption.
QString aboutDisclaimer(const QString& clubCaption);
} // namespace vt
