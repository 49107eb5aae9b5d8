#pragma once
// Tarvio's About box.
#include <QDialog>

namespace vt::tarvio {

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout();

protected:
    // Esc and the close box close the box as "OK" does.
    void reject() override;

private:
    void cmdOK_Click();
    void cmdSysInfo_Click();
};

} // namespace vt::tarvio
