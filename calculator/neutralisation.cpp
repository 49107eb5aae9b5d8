#include "neutralisation.h"

#include "common/dates.h"
#include "common/numbers.h"
#include "common/text.h"

namespace vt::tarvio {

namespace {

// The last two characters of the value + 100: two digits for 0 to 99.
QString twoDigits(long long v) { return Right(QString::number(v + 100), 2); }

long long roundHalfEven(double x) {
    const auto v = clng(x);
    return v ? *v : static_cast<long long>(intFloor(x + 0.5));
}

} // namespace

QString unavailableText() { return QStringLiteral("indisponible"); }

QDate chosenDate(const QDate& today, int dayOffset, int monthOffset, int yearOffset) {
    return today.addDays(dayOffset).addMonths(monthOffset).addYears(yearOffset);
}

QString deadTimeText(int deadSeconds) {
    const long long h = idiv(deadSeconds, 3600);
    const long long m = idiv(deadSeconds - 3600 * h, 60);
    const long long s = imod(deadSeconds, 60);
    return QStringLiteral("Temps mort avec pénombre : ") + twoDigits(h) + u'h' + twoDigits(m) +
           u'\'' + twoDigits(s) + QStringLiteral("''");
}

ParisTimes computeParisTimes(const QDate& day) {
    ParisTimes out;
    out.sun = ComputeSunTimes(day, ParisLatitude, ParisLongitude);
    const QString closing = out.sun.closing ? out.sun.closing->text : unavailableText();
    const QString opening = out.sun.opening ? out.sun.opening->text : unavailableText();
    out.closingLabel = QStringLiteral("FERMETURE le ") + frenchDate(day, QStringLiteral("dd/mm/yy")) +
                       QStringLiteral(" à PARIS ") + closing;
    out.openingLabel = QStringLiteral("OUVERTURE le ") + out.sun.nextDayText() +
                       QStringLiteral(" à PARIS  ") + opening;
    if (out.sun.closing && out.sun.opening) {
        out.closingLessOpening = out.sun.closing->seconds - out.sun.opening->seconds;
        out.deadTimeLabel = deadTimeText(86400 - *out.closingLessOpening);
    } else {
        out.deadTimeLabel = QStringLiteral("Temps mort avec pénombre : ") + unavailableText();
    }
    return out;
}

LoftTimes computeLoftTimes(const QDate& day, const Dms& latitude, const Dms& longitude,
                           std::optional<int> parisClosingLessOpening) {
    LoftTimes out;
    out.closing = ComputeSunTimes(day, latitude, longitude).closing;
    QString openingText = unavailableText();
    if (out.closing && parisClosingLessOpening) {
        const long long x = out.closing->seconds - *parisClosingLessOpening;
        out.openingSeconds = static_cast<int>(x);
        const long long h = idiv(x, 3600);
        const long long m = idiv(x - 3600 * h, 60);
        const long long s = x - 3600 * h - 60 * m;
        openingText = neutralisationText(h, m, s, QStringLiteral("''"));
    }
    out.closingLabel = QStringLiteral("Heure de FERMETURE personnalisée : ") +
                       (out.closing ? out.closing->text : unavailableText());
    out.openingLabel = QStringLiteral("  Heure d'OUVERTURE personnalisée :   ") + openingText;
    return out;
}

Dms packedArguments(double packed) {
    const long long whole = roundHalfEven(packed);
    const long long degrees = idiv(whole, 10000);
    const long long minutes = idiv(roundHalfEven(packed - 10000.0 * static_cast<double>(degrees)), 100);
    const long long seconds = imod(whole, 100);
    return {static_cast<double>(degrees), static_cast<double>(minutes),
            static_cast<double>(seconds)};
}

} // namespace vt::tarvio
