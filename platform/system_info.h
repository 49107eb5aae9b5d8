#pragma once
// The About boxes' "Infos Système...": the location of the system-information program
// is read from the settings keys the About box names; a program found there is started,
// otherwise the caller shows its message.
#include "platform/dialogs.h"

#include <QString>

namespace vt {

// Reads a value under the local-machine root; empty when the key or value is missing.
// Keys are written as in the registry ("SOFTWARE\Microsoft\Shared Tools\MSINFO"). On
// Windows they are the registry's; elsewhere they live in the system-wide settings
// file Vorel/HKEY_LOCAL_MACHINE.ini.
QString GetKeyValue(const QString& keyName, const QString& valueName);
// Starts the system-information program; false when none is known or it did not start.
bool startSystemInformation();
// "Les informations système ne sont pas disponibles actuellement"
QString systemInformationUnavailableText();
// The button's whole action: starts the program, or tells the user (OK, default title).
void StartSysInfo(Dialogs& d);
// Tests read the keys from an INI file of their own (empty: back to the system's).
void setLocalMachineSettingsFile(const QString& iniFile);

} // namespace vt
