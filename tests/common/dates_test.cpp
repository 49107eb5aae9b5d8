#include "common/dates.h"

#include <gtest/gtest.h>

using namespace vt;

TEST(Dates, TwoDigitYearsAcrossTheCenturies) {
    EXPECT_EQ(yearFromTwoDigits(81), 1981);
    EXPECT_EQ(yearFromTwoDigits(99), 1999);
    EXPECT_EQ(yearFromTwoDigits(0), 2000);
    EXPECT_EQ(yearFromTwoDigits(80), 2080);
    const std::pair<const char*, int> boxes[] = {{"81", 1981}, {"80", 2080}, {"5", 2005},
                                                 {"05", 2005}, {"2005", 2005}, {"2099", 1999},
                                                 {"ab", 0},    {"-5", 0},     {"12345", 0}};
    for (auto [t, y] : boxes)
        EXPECT_EQ(yearFromTypedText(t), y) << t;
}

TEST(Dates, FrenchPatterns) {
    const QDate d(2005, 5, 12);
    EXPECT_EQ(frenchDate(d, "dd/mm/yy"), "12/05/05");
    EXPECT_EQ(frenchDate(d, "dd mmmm yyyy"), "12 mai 2005");
    EXPECT_EQ(frenchDate(d, "dddd dd mmmm yyyy"), "jeudi 12 mai 2005");
    EXPECT_EQ(frenchDate(d, "m/dd"), "5/12");
    EXPECT_EQ(frenchDate(QDate(2005, 10, 1), "m/dd"), "10/01");
    EXPECT_EQ(frenchDate(d, "dd_mm "), "12_05 ");
    EXPECT_EQ(frenchDate(QDate(1981, 4, 28), "dd/mm/yy"), "28/04/81");
    EXPECT_EQ(frenchDate(QDate(2005, 8, 1), "dd mmmm yyyy"), QStringLiteral("01 août 2005"));
    EXPECT_EQ(frenchDate(QDate(2080, 12, 8), "dd mmmm yyyy"), QStringLiteral("08 décembre 2080"));
    EXPECT_EQ(clockText(QDateTime(QDate(2005, 3, 8), QTime(14, 5, 9))),
              "mardi 08 mars 2005 il est 14:05:09");
}

TEST(Dates, ReadingShortAndLongDates) {
    EXPECT_EQ(parseShortDate("12/05/05"), QDate(2005, 5, 12));
    EXPECT_EQ(parseShortDate("28/04/81"), QDate(1981, 4, 28));
    EXPECT_EQ(parseShortDate("01/01/80"), QDate(2080, 1, 1));
    EXPECT_EQ(parseShortDate("29/02/00"), QDate(2000, 2, 29));
    EXPECT_FALSE(parseShortDate("29/02/05").isValid());
    EXPECT_FALSE(parseShortDate("31/04/05").isValid());
    EXPECT_FALSE(parseShortDate(QString(8, u' ')).isValid());
    EXPECT_EQ(parseLongDate("12 mai 2005"), QDate(2005, 5, 12));
    EXPECT_EQ(parseLongDate("12 MAI 2005"), QDate(2005, 5, 12));
    EXPECT_EQ(parseLongDate(QStringLiteral("1 août 2005  ")), QDate(2005, 8, 1));
    EXPECT_FALSE(parseLongDate("32 mai 2005").isValid());
    EXPECT_FALSE(parseLongDate("12 fevrier 2005").isValid());
}
