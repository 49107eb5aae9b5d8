#include "platform/clock.h"

namespace vt {

namespace {
std::function<QDateTime()>& clockSource() {
    static std::function<QDateTime()> source;
    return source;
}
} // namespace

QDateTime now() {
    const auto& source = clockSource();
    return source ? source() : QDateTime::currentDateTime();
}

QDate today() { return now().date(); }

void setClockForTests(std::function<QDateTime()> source) { clockSource() = std::move(source); }

} // namespace vt
