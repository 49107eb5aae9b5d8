#pragma once
// What the program says about itself, and the one way it ends.
#include <QString>

#include <functional>

namespace vt {

inline const QString ProductName = QStringLiteral("Vorel");
inline const QString ApplicationTitle = QStringLiteral("Traitement des Mises en loge");
inline const QString ProgramComments = QStringLiteral(
    "Logiciel  de saisie avec comptabilisation et mémorisation des mises en loge des pigeons.");
// The program's designer, named in the About box.
inline const QString DesignerName = QStringLiteral("Atelier Vorel");

// The version digits "major.minor.revision" ("2.0.0"), set once by the program's build.
QString programVersion();
// "Version 2.0.0".
QString versionText();
// Names the running program (name, designer, version): the PDF files it writes carry them.
void setProgramIdentity();

// Ends the program at once: no question, nothing saved. Tests replace the ending.
void endProgram();
void setEndProgramForTests(std::function<void()> ending);

} // namespace vt
