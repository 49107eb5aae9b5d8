#pragma once
// Tarvio's About box.
#include <QDialog>

namespace vt::tarvio {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout();

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
};

} // namespace vt::tarvio
