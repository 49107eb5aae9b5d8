// Tarvio: night-neutralisation times and release-site distances for a loft.
#include "calculator/frmsplash_window.h"
#include "calculator/tarvio_texts.h"

#include "platform/qt_dialogs.h"
#include "platform/window_registry.h"

#include <QApplication>
#include <QDir>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vt::tarvio::setProgramIdentity();
    vt::installQtDialogs();

    // distgen, and the PDF prints when there is no printer, are in the folder the
    // program is started from.
    vt::tarvio::setStartDirectory(QDir::currentPath());

    vt::windows().window<vt::tarvio::frmSplash>();
    const int result = QApplication::exec();
    vt::windows().unloadAll();
    return result;
}
