#pragma once
// The About boxes' "Infos Système...": the location of the system-information program
// is read from the settings keys the About box names; a program found there is started,
// otherwise the caller shows its message.
#include <QString>

namespace vt {

// Reads a value under the local-machine root; empty when the key or value is missing.
QString GetKeyValue(const QString& keyName, const QString& valueName);
// Starts the system-information program; false when none is known or it did not start.
bool startSystemInformation();

} // namespace vt
