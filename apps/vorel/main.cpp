// Vorel: runs a pigeon-racing club's season from the folder it is started in.
#include "common/session.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    vt::session().setStartDir(QDir::currentPath());
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Vorel"));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
