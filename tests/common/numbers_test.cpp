#include "common/numbers.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vt;

namespace {
struct ReadCase {
    const char* text;
    double val, cell, nombre;
    int typedKind; // 0 empty, 1 number, 2 invalid
    double typed;
};
} // namespace

TEST(NumberReading, TableOfTheFourReadings) {
    const ReadCase cases[] = {
        {"12abc", 12, 12, 12, 2, 0},      {" 1 2", 12, 1, 1, 2, 0},
        {"1 2.5 6", 12.56, 1, 1, 2, 0},   {" - 5", -5, 0, 0, 2, 0},
        {"-5", -5, -5, -5, 1, -5},         {"2,5", 2, 2, 2, 1, 2.5},
        {"2.5", 2.5, 2.5, 2.5, 1, 2.5},    {"    2,5", 2, 2, 2.5, 1, 2.5},
        {"   2,00", 2, 2, 2, 1, 2},        {"21,80", 21, 21, 21, 1, 21.8},
        {"1234,50", 1234, 1234, 1234.5, 1, 1234.5}, {".5", 0.5, 0.5, 0.5, 1, 0.5},
        {"1e3", 1, 1, 1, 2, 0},            {"48,05,06", 48, 48, 48, 2, 0},
        {"B-7000", 0, 0, 0, 2, 0},         {"", 0, 0, 0, 0, 0},
        {",5", 0, 0, 0, 1, 0.5},           {"5,", 5, 5, 5, 1, 5},
    };
    for (const ReadCase& c : cases) {
        const QString t = QString::fromUtf8(c.text);
        EXPECT_DOUBLE_EQ(val(t), c.val) << c.text;
        EXPECT_DOUBLE_EQ(cellNumber(t), c.cell) << c.text;
        EXPECT_FLOAT_EQ(nombreValue(t), static_cast<float>(c.nombre)) << c.text;
        TypedNumber p = parseTyped(t);
        EXPECT_EQ(static_cast<int>(p.kind), c.typedKind) << c.text;
        if (p.isNumber()) {
            EXPECT_DOUBLE_EQ(p.value, c.typed) << c.text;
        }
    }
    EXPECT_DOUBLE_EQ(val(QString(4, u' ')), 0);
}

TEST(Rounding, HalvesToEvenWithRangeChecks) {
    EXPECT_EQ(*cint(2.5), 2);
    EXPECT_EQ(*cint(3.5), 4);
    EXPECT_EQ(*cint(-2.5), -2);
    EXPECT_EQ(*cint(2.6), 3);
    EXPECT_EQ(*clng(26000.5), 26000);
    EXPECT_EQ(*clng(26001.5), 26002);
    EXPECT_FALSE(cint(32767.5).has_value());
    EXPECT_FALSE(cint(-32768.6).has_value());
    EXPECT_FALSE(clng(NAN).has_value());
    EXPECT_FALSE(clng(INFINITY).has_value());
    EXPECT_EQ(intFloor(2.7), 2);
    EXPECT_EQ(intFloor(-2.7), -3);
    EXPECT_EQ(fix(-2.7), -2);
    EXPECT_EQ(idiv(7, 2), 3);
    EXPECT_EQ(idiv(-7, 2), -3);
    EXPECT_EQ(imod(7, 3), 1);
}

TEST(Rounding, TypedAmountsToTwoDecimals) {
    const std::pair<const char*, float> cases[] = {
        {"12.5", 12.5f}, {"12,345", 12.35f}, {"12.344", 12.34f}, {"2,675", 2.68f},
        {"-12.345", -12.35f}, {"", 0.0f}, {"0,995", 1.0f}};
    for (auto [t, v] : cases)
        EXPECT_FLOAT_EQ(*roundTypedAmount(QString::fromUtf8(t)), v) << t;
    EXPECT_FALSE(roundTypedAmount("abc").has_value());
}

TEST(NumberText, StrAndOrdinaryText) {
    EXPECT_EQ(strNumber(0.0), " 0");
    EXPECT_EQ(strNumber(480506.25), " 480506.25");
    EXPECT_EQ(strNumber(480506.1234), " 480506.1234");
    EXPECT_EQ(strNumber(13030.0), " 13030");
    EXPECT_EQ(strNumber(0.1 + 0.2), " 0.3");
    EXPECT_EQ(strNumber(0.00001), " 0.00001");
    EXPECT_EQ(strNumber(5), " 5");
    EXPECT_EQ(strNumber(-5), "-5");
    EXPECT_EQ(numberText(480506.25), "480506,25");
    EXPECT_EQ(numberText(12.5f), "12,5");
    EXPECT_EQ(numberText(0.1f), "0,1");
    EXPECT_EQ(numberText(static_cast<double>(0.1f)), "0,100000001490116");
    EXPECT_EQ(numberText(0.35f * 100.0f), "35");
    EXPECT_EQ(numberText(275382), "275382");
    EXPECT_EQ(numberText(1e20), "100000000000000000000");
    EXPECT_EQ(numberText(-0.0), "0");
}

TEST(Masks, TwoAndThreeDecimals) {
    const std::tuple<double, const char*, const char*> cases[] = {
        {2.5, "2,50", "2,500"},       {3, "3,00", "3,000"},     {1.105, "1,11", "1,105"},
        {0.16875, "0,17", "0,169"},   {2.675, "2,68", "2,675"}, {1.005, "1,01", "1,005"},
        {12.5, "12,50", "12,500"},    {-4.2, "-4,20", "-4,200"}, {-0.001, "0,00", "-0,001"},
        {480506.995, "480507,00", "480506,995"}, {9.999, "10,00", "9,999"}};
    for (auto [v, two, three] : cases) {
        EXPECT_EQ(format2(v), two) << v;
        EXPECT_EQ(format3(v), three) << v;
    }
    EXPECT_EQ(format3(1.0005f), "1,001");
    EXPECT_EQ(format2(0.1f), "0,10");
    EXPECT_EQ(format3(0.1234f), "0,123");
}

TEST(Masks, AtSignsRightAlignAndNeverCut) {
    EXPECT_EQ(applyMask(QStringLiteral("12,500"), "@@@@@@@@@"), "   12,500");
    EXPECT_EQ(applyMask(48050634LL, "@@@@@@@.@@"), " 480506.34");
    EXPECT_EQ(applyMask(0, "@@@@@@@.@@"), "       . 0");
    EXPECT_EQ(applyMask(2100000, "@@@@@@@.@@ "), "  21000.00 ");
    EXPECT_EQ(applyMask(0.35f * 100.0f, "@@@@@.@@"), "     .35");
    EXPECT_EQ(applyMask(QStringLiteral("1234567"), "@@@@@@@ "), "1234567 ");
    EXPECT_EQ(applyMask(QStringLiteral("123456789012"), "@@@@@@@.@@"), "1234567890.12");
    EXPECT_EQ(rightAlign(QStringLiteral("1234567890,125"), 9), "1234567890,125");
    EXPECT_EQ(applyMask(10, "@@@@"), "  10");
}

TEST(Masks, TwoOrThreeDecimalChoices) {
    EXPECT_EQ(unitText(0.125f), "0,125");
    EXPECT_EQ(unitText(2.5f), "2,50");
    EXPECT_EQ(unitText(0.05f), "0,05");
    EXPECT_EQ(unitText(1.1f), "1,10");
    EXPECT_EQ(unitText(0.1234f), "0,123");
    EXPECT_EQ(unitText(1.234f), "1,234");
    EXPECT_EQ(typedUnitText(2.5), "2,50");
    EXPECT_EQ(typedUnitText(1.234), "1,234");
    EXPECT_EQ(typedUnitText(1.1), "1,10");
    EXPECT_EQ(formatAmount(2600), "26,00");
    EXPECT_EQ(formatAmount(110.5), "1,105");
    EXPECT_EQ(formatAmount(0.10 * 3 * 100), "0,30");
    EXPECT_EQ(formatAmount(16.875), "0,169");
    EXPECT_EQ(formatAmount(-420), "-4,20");
    EXPECT_EQ(formatAmount(0), "0,00");
}
