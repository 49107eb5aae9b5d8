// A coordinate too long for its field is rounded on the digits of its exact decimal
// expansion, written once. This test holds the former definition, which wrote the value
// again with one decimal less until it fitted, and checks that both give the same field
// over many values: exact binary halves at each place, carries through nines, negatives,
// tiny and huge values, values whose digits end in zeros once rounded, random values.
#include "fanciers/site_list.h"

#include "common/numbers.h"
#include "common/text.h"

#include "tests/support/random_doubles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace vt;

namespace {

QString refFitted(double value) {
    QString digits = plainDigits(value);
    const int room = value < 0 ? 9 : 10;
    const QString unsignedDigits = value < 0 ? digits.mid(1) : digits;
    if (unsignedDigits.size() <= room)
        return digits;
    const qsizetype point = unsignedDigits.indexOf(u'.');
    if (point < 0 || point > room)
        return digits;
    for (int decimals = int(unsignedDigits.size() - point - 2); decimals >= 0; --decimals) {
        QString t = QString::number(value, 'f', decimals);
        if (t.contains(u'.')) {
            while (t.endsWith(u'0'))
                t.chop(1);
            if (t.endsWith(u'.'))
                t.chop(1);
        }
        if (t == QStringLiteral("-0"))
            t = QStringLiteral("0");
        if ((t.startsWith(u'-') ? t.size() - 1 : t.size()) <= room)
            return t;
    }
    return digits;
}

QString refField(double value) {
    const QString digits = refFitted(value);
    const QString str = digits.startsWith(u'-') ? digits : QStringLiteral(" ") + digits;
    return Right(Space(10) + str, 10);
}

std::vector<double> values() {
    std::vector<double> v = {0.0, -0.0, 1e-300, -1e-300, 1e-9, -1e-9, 1e-12, 4.9e-324,
                             std::numeric_limits<double>::min(), 1e300, -1e300, 1e10, 9.99e9,
                             std::numeric_limits<double>::quiet_NaN(),
                             std::numeric_limits<double>::infinity(),
                             480506.1234, 480506.12345678, 445017.99999999, -3436.55555555,
                             9.9999999999, 99999.999999999, 999999999.95, -99999999.95,
                             0.00000000049, 0.000000000500001, 1.5000000000001};
    // Exact binary halves at the last places that fit, both signs.
    for (double base : {1234567.0, 123456789.0, 12345.0, 1.0, 0.0, 999999.0, 4805060.0})
        for (double half : {0.5, 0.25, 0.125, 0.0625, 0.03125, 0.375, 0.875, 0.1875, 0.5 + 0x1p-30})
            for (double x : {base + half, -(base + half)}) {
                v.push_back(x);
                v.push_back(std::nextafter(x, 0.0));
                v.push_back(std::nextafter(x, 1e300));
            }
    vt::testing::addRandomDoubles(v, 20261211, 20000, -14, 10, 5000);
    return v;
}

} // namespace

TEST(SiteFieldReference, LongCoordinatesAreRoundedAsTheFormerLoopRoundedThem) {
    for (double x : values())
        ASSERT_EQ(siteCoordinateField(x).toStdString(), refField(x).toStdString()) << x;
}
