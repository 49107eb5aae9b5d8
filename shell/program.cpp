#include "program.h"

#include <QCoreApplication>

namespace vt {

QString versionText() {
    return QStringLiteral("Version %1.%2.%3").arg(VersionMajor).arg(VersionMinor).arg(VersionRevision);
}

namespace {
std::function<void()>& ending() {
    static std::function<void()> f;
    return f;
}
} // namespace

void endProgram() {
    if (ending()) {
        ending()();
        return;
    }
    QCoreApplication::exit(0);
}

void setEndProgramForTests(std::function<void()> f) { ending() = std::move(f); }

} // namespace vt
