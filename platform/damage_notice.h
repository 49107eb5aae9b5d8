#pragma once
// A window's opening (or a print run) that reads data files: the damage its readers note
// is told through the dialogs, one box per damaged file, by tell() (before anything is
// printed or stored from the reading) and, for what is left, when the notice ends.
#include "common/damage.h"
#include "platform/dialogs.h"

namespace vt {

class DamageNotice {
public:
    explicit DamageNotice(Dialogs& dialogs) : m_dialogs(dialogs) {}
    ~DamageNotice() {
        try {
            tell();
        } catch (...) {
        }
    }
    DamageNotice(const DamageNotice&) = delete;
    DamageNotice& operator=(const DamageNotice&) = delete;

    void tell() {
        for (const QString& text : m_scope.takeMessages())
            m_dialogs.inform(text, DamageScope::title(), MsgIcon::Exclamation);
    }
    const DamageScope& scope() const { return m_scope; }

private:
    Dialogs& m_dialogs;
    DamageScope m_scope;
};

} // namespace vt
