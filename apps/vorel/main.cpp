// Vorel: runs a pigeon-racing club's season from the folder it is started in.
#include "shell/program.h"
#include "shell/splash_window.h"

#include <QApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(vt::ProductName);
    QApplication::setOrganizationName(vt::DesignerName);

    // Qt's own buttons and dialogs in French ("Oui", "Non", "Annuler").
    QTranslator qtFrench;
    if (qtFrench.load(QLocale(QLocale::French), QStringLiteral("qtbase"), QStringLiteral("_"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtFrench);

    if (!vt::startVorel(QDir::currentPath()))
        return 1;
    return app.exec();
}
