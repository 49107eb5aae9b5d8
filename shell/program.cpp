#include "program.h"

#include <QCoreApplication>

#ifndef VT_VERSION
#error "VT_VERSION, Vorel's version, is set by its target in apps/vorel/CMakeLists.txt"
#endif

namespace vt {

QString programVersion() { return QStringLiteral(VT_VERSION); }

QString versionText() { return QStringLiteral("Version ") + programVersion(); }

void setProgramIdentity() {
    QCoreApplication::setApplicationName(ProductName);
    QCoreApplication::setOrganizationName(DesignerName);
    QCoreApplication::setApplicationVersion(programVersion());
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
