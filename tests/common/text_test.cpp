#include "common/errors.h"
#include "common/text.h"

#include <gtest/gtest.h>

using namespace vt;

TEST(Cp1252, DecodesPaddingNulAndHighBytes) {
    EXPECT_EQ(decodeText(QByteArray("DUPONT") + QByteArray(17, ' ')),
              QStringLiteral("DUPONT") + QString(17, u' '));
    EXPECT_EQ(trim(decodeText(QByteArray(23, '\0'))), QString());
    EXPECT_EQ(decodeText(QByteArray("\x80\x92\x9c\x9f", 4)), QStringLiteral("€’œŸ"));
    EXPECT_EQ(decodeText(QByteArray("\x81", 1)), QString(QChar(0x81)));
}

TEST(Cp1252, EncodesToWidthAndRoundTripsEveryByte) {
    EXPECT_EQ(encodeText(QStringLiteral("ÉCOLE"), 7), QByteArray("\xC9" "COLE  "));
    EXPECT_EQ(encodeText(QStringLiteral("Résultat"), 8), QByteArray("R\xE9sultat"));
    EXPECT_EQ(encodeText(QString(40, u'x'), 28).size(), 28);
    QByteArray all;
    for (int b = 1; b < 256; ++b)
        all.append(static_cast<char>(b));
    EXPECT_EQ(encodeText(decodeText(all)), all);
}

TEST(Cp1252, RefusesCharactersOutsideTheCodePage) {
    EXPECT_THROW(encodeText(QStringLiteral("Ω"), 5), EncodingError);
    EXPECT_FALSE(isCp1252(QStringLiteral("abcΩ")));
    EXPECT_EQ(firstNonCp1252(QStringLiteral("abcΩ")), QStringLiteral("Ω"));
    // A character outside the basic plane is named whole, not by half of its pair.
    EXPECT_EQ(firstNonCp1252(QStringLiteral("ab\U0001F426c")), QStringLiteral("\U0001F426"));
    EXPECT_TRUE(firstNonCp1252(QStringLiteral("abc€")).isEmpty());
    try {
        encodeText(QStringLiteral("a\U0001F426"), 5);
        ADD_FAILURE() << "a character outside the code page was encoded";
    } catch (const EncodingError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("« \U0001F426 »")));
    }
    EXPECT_TRUE(isCp1252(QStringLiteral("œuvre € ’")));
}

TEST(TextRules, UpperCaseStaysWithinTheCodePage) {
    const std::pair<const char*, const char*> cases[] = {
        {"février", "FÉVRIER"}, {"août", "AOÛT"},   {"décembre", "DÉCEMBRE"},
        {"œuilly", "ŒUILLY"},   {"straße", "STRAßE"}, {"µÿ", "µŸ"},
        {"l'aigle", "L'AIGLE"}};
    for (auto [in, out] : cases)
        EXPECT_EQ(upperCase(QString::fromUtf8(in)), QString::fromUtf8(out)) << in;
}

TEST(TextRules, LeftRightMidTrim) {
    EXPECT_EQ(Left("abc", 5), "abc");
    EXPECT_EQ(Right("abcdef", 2), "ef");
    EXPECT_EQ(Mid("abcdef", 2, 3), "bcd");
    EXPECT_EQ(Mid("abcdef", 5), "ef");
    EXPECT_EQ(trim("\t a b  "), "\t a b");
    EXPECT_TRUE(isBlank("   "));
    EXPECT_EQ(padRight("ab", 4), "ab  ");
    EXPECT_EQ(padRight("abcdef", 4), "abcd");
}
