// Envelopes on the recording surface: the sender block centred on its axis, the red
// mark of urgent mail, the addressee block at its place whatever the mark, every
// complement printed trimmed, one page per fancier.
#include "fanciers/envelopes.h"

#include "platform/recording_surface.h"

#include "common/text.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vt {
namespace {

constexpr double Mm = 25.4 / 72; // millimetres per point

FancierRecord fancier(const QString& name, const QString& complement = QString()) {
    FancierRecord f;
    f.setFancierName(name);
    f.setAddressLine(QStringLiteral("3 rue Nationale"));
    f.setAddressComplement(complement);
    f.setPostCode(QStringLiteral("59000"));
    f.setTown(QStringLiteral("LILLE"));
    return f;
}

SenderAddressFields sender() {
    return {QStringLiteral("Jean MARTIN"), QStringLiteral("12 rue des Pigeons"), QString(),
            QStringLiteral("59000"), QStringLiteral("LILLE")};
}

const RecordedText* findText(const RecordedPage& page, const QString& text) {
    for (const RecordedText& t : page.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

TEST(Envelopes, SenderLinesAreCentredOnOneAxisHalvesToEven) {
    // Lengths 20, 11, 0 and 15 ("59000 LILLE1234"): axis 14.
    const QStringList lines = senderBlockLines({QString(20, u'a'), QString(11, u'b'), QString(),
                                                QStringLiteral("59000"), QStringLiteral("LILLE1234")});
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines.at(0), Space(4) + QString(20, u'a'));
    EXPECT_EQ(lines.at(1), Space(8) + QString(11, u'b')); // 8.5 rounds to 8
    EXPECT_EQ(lines.at(2), Space(14));
    EXPECT_EQ(lines.at(3), Space(6) + QStringLiteral("59000 LILLE1234")); // 6.5 rounds to 6

    // An empty sender still takes four lines, of spaces only.
    const QStringList empty = senderBlockLines({});
    ASSERT_EQ(empty.size(), 4);
    for (const QString& line : empty)
        EXPECT_TRUE(line.trimmed().isEmpty());
}

TEST(Envelopes, UrgentLargeEnvelopeFollowsItsLayout) {
    RecordingSurface s;
    printEnvelopes({fancier(QStringLiteral("DUPONT Michel"), QStringLiteral(" RESIDENCE"))},
                   EnvelopeSize::Size230x160, true, sender(), s);
    ASSERT_EQ(s.pages().size(), 1);
    const RecordedPage& page = s.pages().at(0);
    EXPECT_EQ(page.orientation, Orientation::Landscape);
    ASSERT_GE(page.texts.size(), 8);

    const RecordedText& first = page.texts.at(0);
    EXPECT_EQ(first.fontName, QStringLiteral("Courier New"));
    EXPECT_DOUBLE_EQ(first.fontSize, 10);
    EXPECT_DOUBLE_EQ(first.y, 60);
    EXPECT_DOUBLE_EQ(first.x, 0);
    EXPECT_TRUE(first.bold);

    const RecordedText* mark = findText(page, QStringLiteral("     LETTRE  "));
    ASSERT_NE(mark, nullptr);
    EXPECT_EQ(mark->color, 255);
    EXPECT_DOUBLE_EQ(mark->fontSize, 40);
    EXPECT_EQ(mark->fontName, QStringLiteral("Times New Roman"));
    // Four sender lines and one empty line at 10 points above the mark.
    EXPECT_NEAR(mark->y, 60 + 5 * 10 * 1.1328 * Mm, 1e-9);

    const RecordedText* name = findText(page, fancier(QStringLiteral("DUPONT Michel")).fancierName());
    ASSERT_NE(name, nullptr);
    EXPECT_DOUBLE_EQ(name->x, 73);
    EXPECT_DOUBLE_EQ(name->y, 125);
    EXPECT_DOUBLE_EQ(name->fontSize, 20);
    EXPECT_EQ(name->color, 0);

    const double line15 = 15 * 1.1328 * Mm, line20 = 20 * 1.1328 * Mm;
    const RecordedText* complement = findText(page, QStringLiteral("RESIDENCE"));
    ASSERT_NE(complement, nullptr); // trimmed on the large envelope
    EXPECT_NEAR(complement->y, 125 + line20 + 2 * line15, 1e-9);
    const RecordedText* post = findText(page, QStringLiteral("59000  "));
    ASSERT_NE(post, nullptr);
    EXPECT_DOUBLE_EQ(post->x, 73);
    EXPECT_NEAR(post->y, complement->y + 3 * line15, 1e-9);
    const RecordedText* town = findText(page, fancier(QString()).town());
    ASSERT_NE(town, nullptr);
    // The town starts at the next print zone of Times New Roman 20, not after the postcode.
    const double zone = 14 * 0.6 * 20 * Mm;
    EXPECT_GT(town->x, 73 + 7 * 0.6 * 20 * Mm - 1e-9);
    EXPECT_NEAR(std::remainder(town->x, zone), 0, 1e-6);
    EXPECT_EQ(s.documents().size(), 1);
}

TEST(Envelopes, OrdinaryMailHasNoMarkAndTheAddresseeStaysInPlace) {
    RecordingSurface s;
    printEnvelopes({fancier(QStringLiteral("A")), fancier(QStringLiteral("B")),
                    fancier(QStringLiteral("C"))},
                   EnvelopeSize::Size220x110, false, sender(), s);
    ASSERT_EQ(s.documents().size(), 1);
    ASSERT_EQ(s.pages().size(), 3);
    const char* names[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        const RecordedPage& page = s.pages().at(i);
        for (const RecordedText& t : page.texts)
            EXPECT_EQ(t.color, 0);
        EXPECT_EQ(findText(page, QStringLiteral("     LETTRE  ")), nullptr);
        EXPECT_DOUBLE_EQ(page.texts.at(0).y, 105);
        const RecordedText* name = findText(page, fancier(QString::fromLatin1(names[i])).fancierName());
        ASSERT_NE(name, nullptr);
        EXPECT_DOUBLE_EQ(name->x, 60);
        EXPECT_DOUBLE_EQ(name->y, 145);
    }
}

// Every complement that is not blank is printed trimmed, at the addressee's left edge, on
// both sizes, whatever its first character.
TEST(Envelopes, EveryComplementIsPrintedTrimmedOnBothSizes) {
    const struct {
        QString complement, printed; // empty `printed`: nothing printed
    } cases[] = {
        {QStringLiteral(" RESIDENCE"), QStringLiteral("RESIDENCE")},
        {QStringLiteral("12 bis"), QStringLiteral("12 bis")},
        {QStringLiteral("3e étage"), QStringLiteral("3e étage")},
        {QStringLiteral(" LES TILLEULS"), QStringLiteral("LES TILLEULS")},
        {QStringLiteral("apt 3"), QStringLiteral("apt 3")},
        {QStringLiteral("(bât. B)"), QStringLiteral("(bât. B)")},
        {QStringLiteral("   "), QString()},
        {QString(), QString()},
    };
    for (const auto& c : cases) {
        for (EnvelopeSize size : {EnvelopeSize::Size230x160, EnvelopeSize::Size220x110}) {
            SCOPED_TRACE(c.complement.toStdString());
            RecordingSurface s;
            printEnvelopes({fancier(QStringLiteral("DUPONT"), c.complement)}, size, false, sender(), s);
            const RecordedPage& page = s.pages().at(0);
            QStringList complements; // the 15-point texts other than the address line
            for (const RecordedText& t : page.texts)
                if (t.fontSize == 15 && !t.text.trimmed().isEmpty() &&
                    t.text.trimmed() != QStringLiteral("3 rue Nationale")) {
                    complements << t.text;
                    EXPECT_DOUBLE_EQ(t.x, size == EnvelopeSize::Size230x160 ? 73 : 60);
                }
            EXPECT_EQ(complements, c.printed.isEmpty() ? QStringList() : QStringList{c.printed});
        }
    }
}

TEST(Envelopes, NoFancierGivesNoPage) {
    RecordingSurface s;
    EXPECT_TRUE(printEnvelopes({}, EnvelopeSize::Size230x160, true, sender(), s).nothing());
    EXPECT_TRUE(s.pages().isEmpty());
}

} // namespace
} // namespace vt
