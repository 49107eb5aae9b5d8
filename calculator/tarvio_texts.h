#pragma once
// Tarvio's own texts: its title, version and description, the start-up and About boxes,
// the help messages, and where it finds the general release-site file.
#include <QString>

namespace vt::tarvio {

// The version digits "major.minor.revision" ("1.0.0"), set once by the program's build.
QString programVersion();
// Names the running program (title and version): the PDF files it writes carry them.
void setProgramIdentity();

QString programTitle();    // "Tarvio"
QString companyName();
QString fileDescription(); // what the program computes, since the rule of 22 October 2003
QString responsibleParty(); // "Son utilisateur"

// The start-up window.
QString splashVersionText();  // "Version GPS 1.0.0"
QString splashWarningText();  // "Avertissement : l'utilisation ... de  Son utilisateur"
QString backgroundInformationText(); // the line centred on the background window

// The About box.
QString aboutCaption();        // "À propos de TARVIO"
QString aboutTitle();          // "TARVIO"
QString aboutVersionText();    // "Version 1.0.0"
QString aboutDisclaimerText();

// The help messages of the main window's frame "Aide" and of the release-site editor.
QString mainWindowHelpText();
QString siteEditorHelpText();
// Shown by the editor when the name typed is already in the list.
QString duplicateSiteText();

// Records the start directory (made absolute once) and the path of distgen in it; an
// existing file is found whatever the case of its name.
void setStartDirectory(const QString& startDir);
// The start-up window's record of distgen's path: the start directory captured once (the
// current directory when none was recorded yet) followed by distgen.
void recordGeneralSitesPath();
QString generalSitesPath();

} // namespace vt::tarvio
