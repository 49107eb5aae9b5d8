#include "dates.h"

#include "text.h"

#include <array>

namespace vt {
namespace {
const std::array<QString, 7> kDays = {
    QStringLiteral("lundi"),    QStringLiteral("mardi"),    QStringLiteral("mercredi"),
    QStringLiteral("jeudi"),    QStringLiteral("vendredi"), QStringLiteral("samedi"),
    QStringLiteral("dimanche")};
const std::array<QString, 12> kMonths = {
    QStringLiteral("janvier"), QStringLiteral("février"),  QStringLiteral("mars"),
    QStringLiteral("avril"),   QStringLiteral("mai"),      QStringLiteral("juin"),
    QStringLiteral("juillet"), QStringLiteral("août"),     QStringLiteral("septembre"),
    QStringLiteral("octobre"), QStringLiteral("novembre"), QStringLiteral("décembre")};

QString two(int v) { return QStringLiteral("%1").arg(v, 2, 10, QChar(u'0')); }
} // namespace

int yearFromTwoDigits(int v) { return v <= 80 ? 2000 + v : 1900 + v; }

QString frenchDayName(const QDate& date) { return kDays[date.dayOfWeek() - 1]; }
QString frenchMonthName(int month) {
    return (month >= 1 && month <= 12) ? kMonths[month - 1] : QString();
}

QString frenchDate(const QDate& date, const QString& pattern) {
    QString out;
    qsizetype i = 0;
    while (i < pattern.size()) {
        QChar c = pattern[i];
        qsizetype run = 1;
        while (i + run < pattern.size() && pattern[i + run] == c)
            ++run;
        if (c == u'd') {
            out += run >= 3 ? frenchDayName(date) : run == 2 ? two(date.day())
                                                              : QString::number(date.day());
        } else if (c == u'm') {
            out += run >= 3 ? frenchMonthName(date.month())
                   : run == 2 ? two(date.month())
                              : QString::number(date.month());
        } else if (c == u'y') {
            out += run >= 4 ? QString::number(date.year()) : two(date.year() % 100);
        } else {
            out += QString(run, c);
        }
        i += run;
    }
    return out;
}

QString clockText(const QDateTime& now) {
    return frenchDate(now.date(), QStringLiteral("dddd dd mmmm yyyy")) +
           QStringLiteral(" il est ") + now.time().toString(QStringLiteral("HH:mm:ss"));
}

QDate parseShortDate(const QString& text) {
    QString t = trim(text);
    if (t.size() != 8 || t[2] != u'/' || t[5] != u'/')
        return {};
    for (int i : {0, 1, 3, 4, 6, 7})
        if (t[i] < u'0' || t[i] > u'9')
            return {};
    return QDate(yearFromTwoDigits(t.mid(6, 2).toInt()), t.mid(3, 2).toInt(),
                 t.left(2).toInt());
}

QDate parseLongDate(const QString& text) {
    const QStringList parts = trim(text).split(u' ', Qt::SkipEmptyParts);
    if (parts.size() != 3)
        return {};
    const QString& d = parts[0];
    const QString& y = parts[2];
    if (d.isEmpty() || d.size() > 2 || y.size() != 4)
        return {};
    for (QChar c : d + y)
        if (c < u'0' || c > u'9')
            return {};
    const QString month = upperCase(parts[1]);
    for (int m = 1; m <= 12; ++m)
        if (upperCase(kMonths[m - 1]) == month)
            return QDate(y.toInt(), m, d.toInt());
    return {};
}

int yearFromTypedText(const QString& text) {
    QString t = trim(text);
    if (t.isEmpty() || t.size() > 4)
        return 0;
    for (QChar c : t)
        if (c < u'0' || c > u'9')
            return 0;
    return yearFromTwoDigits(t.right(2).toInt());
}

} // namespace vt
