#include "tarvio_texts.h"

#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#ifndef VT_VERSION
#error "VT_VERSION, Tarvio's version, is set by its target in apps/tarvio/CMakeLists.txt"
#endif

namespace vt::tarvio {

QString programVersion() { return QStringLiteral(VT_VERSION); }

void setProgramIdentity() {
    QCoreApplication::setApplicationName(programTitle());
    QCoreApplication::setApplicationVersion(programVersion());
}

QString programTitle() { return QStringLiteral("Tarvio"); }

QString companyName() { return QStringLiteral("Atelier Tarvio"); }

QString fileDescription() {
    return QStringLiteral(
        "Tarvio calcule les distances des lieux de lâcher et les temps morts de la "
        "neutralisation de nuit, selon la modification du règlement des concours adoptée "
        "le 22 octobre 2003.");
}

QString responsibleParty() { return QStringLiteral("Son utilisateur"); }

QString splashVersionText() { return QStringLiteral("Version GPS ") + programVersion(); }

QString splashWarningText() {
    return QStringLiteral(
               "Avertissement : l'utilisation de ce logiciel est sous la responsabilité de  ") +
           responsibleParty();
}

QString backgroundInformationText() {
    return QStringLiteral("Tarvio : distances des lieux de lâcher et heures de fermeture et "
                          "d'ouverture de la neutralisation de nuit");
}

QString aboutCaption() { return QStringLiteral("À propos de ") + aboutTitle(); }

QString aboutTitle() { return upperCase(programTitle()); }

QString aboutVersionText() { return QStringLiteral("Version ") + programVersion(); }

QString aboutDisclaimerText() {
    return QStringLiteral(
               "Avertissement : ce logiciel ne peut être utilisé que sous la responsabilité de ") +
           responsibleParty();
}

QString mainWindowHelpText() {
    return QStringLiteral("Pour changer de lieu de lâcher utilisez les curseurs en bout de ligne.\n"
                          "Méthode plus rapide, taper au clavier la première lettre du lieu "
                          "souhaité.");
}

QString siteEditorHelpText() {
    const QStringList lines = {
        QStringLiteral("Pour ajouter un lieu de lâcher :"),
        QStringLiteral("Écrivez le nom du Lieu , pressez Entrée."),
        QString(),
        QStringLiteral("ATTENTION écrire les latidudes et les longitudes sans intervalles ") +
            QStringLiteral("en mettant un ZERO devant les minutes ou secondes si leur valeur est "
                           "inférieure à 10."),
        QStringLiteral("Ex : 500306 pour 50° 3' 6'' surtout n'écrivez pas 5036 car ceci "
                       "correspond à 0° 50' 36''"),
        QString(),
        QStringLiteral("Entrez la latitude , pressez Entrée"),
        QStringLiteral("Si la longitude est OUEST, pressez Entrée pour passer à la longitude Ouest"),
        QStringLiteral("Entrez la longitude, pressez Entrée et Mémoriser"),
        QStringLiteral("Et ainsi de suite pour entrer tous les lieux sans distinction, les lieux "
                       "se mettent automatiquement par ordre alphabétique."),
        QStringLiteral("Il n\u2019y à pas de limite sur le nombre de lieux de lâcher."),
        QString(),
        QStringLiteral("Pour accéder à un lieu pressez Modifier et cliquez 2 fois sur le lieu."),
        QStringLiteral("Vous modifiez ou pour supprimer le lieu, vous enlevez tous les caractères "
                       "du nom."),
        QStringLiteral("Mémoriser."),
    };
    return lines.join(u'\n');
}

QString duplicateSiteText() { return QStringLiteral(" CE LIEU de LACHER EXISTE DEJA "); }

void setStartDirectory(const QString& startDir) {
    Session& s = session();
    s.StartDir = QDir(startDir).absolutePath();
    s.GeneralSitesPath = resolveFile(s.StartDir, QStringLiteral("distgen"));
}

void recordGeneralSitesPath() {
    const Session& s = session();
    setStartDirectory(s.StartDir.isEmpty() ? QDir::currentPath() : s.StartDir);
}

QString generalSitesPath() {
    if (session().GeneralSitesPath.isEmpty())
        recordGeneralSitesPath();
    return session().GeneralSitesPath;
}

} // namespace vt::tarvio
