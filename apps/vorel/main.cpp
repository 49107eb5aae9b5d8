// Vorel: runs a pigeon-racing club's season from the folder it is started in.
#include "platform/qt_dialogs.h"
#include "shell/program.h"
#include "shell/splash_window.h"
#include "shell/startup.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vt::setProgramIdentity();
    // French message and input boxes, Qt's own buttons in French; printing goes to the
    // platform layer's printer (the default printer, or PDF files in StartDir/impressions).
    vt::installQtDialogs();

    // The data folder stays held until the program ends.
    if (!vt::startVorel(QDir::currentPath()))
        return 1;
    const int result = app.exec();
    vt::releaseDataFolder();
    return result;
}
