#include "common/sorting.h"
#include "common/text.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vt;

// Pins the collation: should another Qt build collate differently, this fails rather
// than the files silently changing order.
TEST(SortedLists, FrenchOrderIgnoringCaseWithStableTies) {
    const QStringList expected = {
        "abbeville", "ARRAS", "arras", "Etaples", QStringLiteral("ÉTAPLES"),
        QStringLiteral("Étaples"), QStringLiteral("étaples"), "Eu", "L'Aigle", "Le Havre",
        "Lens", QStringLiteral("Œuilly"), "Oye", "Saint Omer", "Saint-Omer", "Saintes",
        "Zuydcoote"};
    QStringList padded;
    for (const QString& s : expected)
        padded.append(padRight(s, 25) + "    475413         0     15435");
    QStringList shuffled = padded;
    std::reverse(shuffled.begin(), shuffled.end());
    std::rotate(shuffled.begin(), shuffled.begin() + 5, shuffled.end());
    QStringList sorted;
    for (const QString& s : shuffled)
        insertSorted(sorted, s);
    EXPECT_EQ(sorted, padded);

    const QStringList keys = {"1/05 0002", "10/01 0005", "10/12 0007", "12/31 0010", "2/01 0011",
                              "4/28 0003", "5/12 0001",  "5/12 0009",  "9/30 0004"};
    QStringList k = keys;
    std::sort(k.begin(), k.end(), [](auto& a, auto& b) { return b < a; });
    std::sort(k.begin(), k.end(), listTextLess);
    EXPECT_EQ(k, keys);
}
