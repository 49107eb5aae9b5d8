// Address labels and the names list on the recording surface: label places on the
// 3 x 8 grid, the skipped postcodes, the centring of each line, portrait after a
// landscape job, and the club filter of the names list.
#include "fanciers/labels.h"
#include "fanciers/names_list.h"

#include "common/session.h"
#include "common/text.h"
#include "fanciers/envelopes.h"
#include "fanciers/fancier_list.h"
#include "platform/dialogs.h"
#include "platform/recording_surface.h"

#include <gtest/gtest.h>

namespace vt {
namespace {

constexpr double Line12 = 12 * 1.1328 * 25.4 / 72; // one 12-point line in mm

FancierRecord fancier(const QString& name, const QString& postCode = QStringLiteral("59000"),
                      const QString& town = QStringLiteral("LILLE")) {
    FancierRecord f;
    f.setFancierName(name);
    f.setAddressLine(QStringLiteral("3 rue Nationale"));
    f.setPostCode(postCode);
    f.setTown(town);
    return f;
}

// The (x, y) of each label: where its name line is drawn, one line below the label's top.
QList<QPair<double, double>> labelPlaces(const RecordedPage& page) {
    QList<QPair<double, double>> out;
    for (const RecordedText& t : page.texts)
        if (t.text.trimmed().startsWith(QStringLiteral("F")))
            out.append({t.x, t.y - Line12});
    return out;
}

TEST(Labels, PromptAsksToLoadTheSheetsWithNoAsDefault) {
    const MessageRequest r = labelsPrompt();
    EXPECT_EQ(r.text, QStringLiteral("Veuillez mettre des étiquettes 35 X 70 dans l'imprimante\n"
                                     "la face à imprimer en dessous.\n"));
    EXPECT_EQ(r.title, QStringLiteral("impression des étiquettes"));
    EXPECT_EQ(r.buttons, MsgButtons::YesNo);
    EXPECT_EQ(r.icon, MsgIcon::Question);
    EXPECT_EQ(r.defaultButton, MsgAnswer::No);
}

TEST(Labels, LinesAreCentredOnTwentyEightCharacters) {
    // L1: a five-letter town after a five-digit postcode.
    EXPECT_EQ(centredLabelLine(labelTexts(fancier(QStringLiteral("X"))).at(3)),
              QStringLiteral("    59000          LILLE"));
    // L2: a 25-character town goes on a line of its own, right-aligned in 27.
    const QString town = QString(25, u'T');
    const QStringList texts =
        labelTexts(fancier(QStringLiteral("X"), QStringLiteral("59000"), town));
    ASSERT_EQ(texts.size(), 5);
    EXPECT_EQ(centredLabelLine(texts.at(3)), QStringLiteral("59000") + Space(23));
    EXPECT_EQ(centredLabelLine(texts.at(4)), Space(3) + town);
    // L3 and the signs below "0": an empty line.
    EXPECT_TRUE(centredLabelLine(QString()).isEmpty());
    EXPECT_TRUE(centredLabelLine(QStringLiteral("(DUPONT)")).isEmpty());
    EXPECT_TRUE(centredLabelLine(QStringLiteral("-DUPONT")).isEmpty());
    EXPECT_EQ(centredLabelLine(QStringLiteral("DUPONT")), Space(11) + QStringLiteral("DUPONT"));
    EXPECT_EQ(centredLabelLine(QString(30, u'L')), QString(30, u'L')); // longer: left edge
}

TEST(Labels, FillThreeAcrossAndStartANewPageAtTheTwentyFifth) {
    QList<FancierRecord> fanciers;
    for (int i = 1; i <= 26; ++i) {
        fanciers.append(fancier(QStringLiteral("F%1").arg(i)));
        if (i == 2) // a postcode that is no number takes no place
            fanciers.append(fancier(QStringLiteral("B-7000 SKIPPED"), QStringLiteral("B-7000")));
    }
    RecordingSurface s;
    printLabels(fanciers, s);
    ASSERT_EQ(s.pages().size(), 2);
    const double w = s.scaleWidth();
    const auto first = labelPlaces(s.pages().at(0));
    ASSERT_EQ(first.size(), 24);
    const QList<QPair<double, double>> expected = {
        {0, 14}, {w / 3, 14}, {2 * (w / 3), 14}, {0, 49}, {w / 3, 49}};
    for (int i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(first.at(i).first, expected.at(i).first, 1e-9) << i;
        EXPECT_NEAR(first.at(i).second, expected.at(i).second, 1e-9) << i;
    }
    EXPECT_NEAR(first.at(23).second, 259, 1e-9);
    const auto second = labelPlaces(s.pages().at(1));
    ASSERT_EQ(second.size(), 2);
    EXPECT_NEAR(second.at(0).first, 0, 1e-9);
    EXPECT_NEAR(second.at(0).second, 14, 1e-9);
    EXPECT_FALSE(s.allText().contains(QStringLiteral("SKIPPED")));

    // Every line of a label sits in its row: name, address, complement, postcode.
    const QStringList lines = RecordingSurface::pageLines(s.pages().at(0));
    EXPECT_TRUE(lines.at(2).startsWith(QStringLiteral("    59000          LILLE")));
}

TEST(Labels, ArePortraitAfterALandscapeEnvelopeJob) {
    RecordingSurface s;
    printEnvelopes({fancier(QStringLiteral("F1"))}, EnvelopeSize::Size230x160, true, {}, s);
    printLabels({fancier(QStringLiteral("F1"))}, s);
    ASSERT_EQ(s.documents().size(), 2);
    EXPECT_EQ(s.documents().at(0).pages.at(0).orientation, Orientation::Landscape);
    const RecordedPage& labels = s.documents().at(1).pages.at(0);
    EXPECT_EQ(labels.orientation, Orientation::Portrait);
    for (const RecordedText& t : labels.texts) {
        EXPECT_EQ(t.fontName, QStringLiteral("Courier New"));
        EXPECT_DOUBLE_EQ(t.fontSize, 12);
        EXPECT_TRUE(t.bold);
        EXPECT_EQ(t.color, 0);
    }
}

// A 30-character address and a 28-character town in each of the three columns: every line
// stays inside its own label (no ink past the next label's left edge or the page's right
// edge), printing smaller where it must but never under 8 points, and every line keeps the
// height it has at 12 points.
TEST(Labels, ALineTooWideForItsLabelPrintsSmallerInsideIt) {
    QList<FancierRecord> fanciers;
    for (int i = 1; i <= 3; ++i) {
        FancierRecord f = fancier(QStringLiteral("F%1").arg(i), QStringLiteral("62000"),
                                  QStringLiteral("VILLENEUVE-SAINT-GEORGES-SUD"));
        f.setAddressLine(QStringLiteral("12 chemin du Moulin de la Tour"));
        fanciers.append(f);
    }
    ASSERT_EQ(trim(fanciers.at(0).addressLine()).size(), 30);
    ASSERT_EQ(trim(fanciers.at(0).town()).size(), 28);
    RecordingSurface s;
    printLabels(fanciers, s);
    ASSERT_EQ(s.pages().size(), 1);
    const double room = s.scaleWidth() / 3;
    const QList<RecordedText>& texts = s.pages().at(0).texts;
    ASSERT_EQ(texts.size(), 3 * 4); // name, address, postcode, town (complement empty)
    int smaller = 0;
    for (int i = 0; i < texts.size(); ++i) {
        const RecordedText& t = texts.at(i);
        const int column = i / 4;
        QString ink = t.text;
        while (ink.endsWith(u' '))
            ink.chop(1);
        const double right = t.x + ink.size() * 0.6 * t.fontSize * 25.4 / 72;
        EXPECT_LE(right, (column + 1) * room + 1e-9) << t.text.toStdString();
        EXPECT_GE(t.x, column * room - 1e-9);
        EXPECT_GE(t.fontSize, 8);
        smaller += t.fontSize < 12;
        // The line's foot stands where a 12-point line's would: the rows keep their pitch.
        const double foot = t.y + 1.1328 * t.fontSize * 25.4 / 72;
        const int row = QList<int>{1, 2, 4, 5}.at(i % 4); // lines below the label's top
        EXPECT_NEAR(foot, 14 + (row + 1) * Line12, 1e-9) << t.text.toStdString();
    }
    EXPECT_EQ(smaller, 3 * 2); // the address and the town line of each label
    // Nothing is cut: the whole texts fit at their smaller size.
    EXPECT_TRUE(s.allText().contains(QStringLiteral("12 chemin du Moulin de la Tour")));
    EXPECT_TRUE(s.allText().contains(QStringLiteral("VILLENEUVE-SAINT-GEORGES-SUD")));
}

class NamesList : public ::testing::Test {
protected:
    void SetUp() override {
        session() = Session{};
        session().ClubCount = 2;
        session().ClubNames = {QString(), QStringLiteral("LES AMIS"),
                               QStringLiteral("LES AILES DU NORD ET DU PAS")};
    }
    QStringList lines() const {
        return {fancierListItem(QStringLiteral("DUPONT Michel"), QStringLiteral("LES AMIS"),
                                QStringLiteral("LILLE"), 12),
                fancierListItem(QStringLiteral("DURAND Paul"), session().ClubNames.at(2),
                                QStringLiteral("ARRAS"), 3),
                fancierListItem(QStringLiteral("MARTIN Luc"), QStringLiteral("LES AMIS"),
                                QStringLiteral("DOUAI"), 7)};
    }
};

TEST_F(NamesList, WholeFilePrintsEveryLineWithoutItsLastFour) {
    RecordingSurface s;
    printNamesList(lines(), 0, s);
    const QStringList page = RecordingSurface::pageLines(s.pages().at(0));
    ASSERT_EQ(page.size(), 4);
    EXPECT_EQ(page.at(0), Space(14) + QStringLiteral("Liste des NOMS Fichier complet"));
    EXPECT_EQ(page.at(1), QStringLiteral("DUPONT Michel") + Space(10) + QStringLiteral("LES AMIS") +
                              Space(12) + QStringLiteral("LILLE"));
    EXPECT_EQ(s.pages().at(0).texts.at(1).text, Left(lines().at(0), 72));
    EXPECT_TRUE(s.pages().at(0).texts.at(1).text.endsWith(QStringLiteral("  ")));
    const RecordedText& heading = s.pages().at(0).texts.at(0);
    EXPECT_NEAR(heading.x, 14 * 0.6 * 12 * 25.4 / 72, 1e-9); // second zone, from X 1
    EXPECT_NEAR(heading.y, 1, 1e-9);
    EXPECT_EQ(heading.fontName, QStringLiteral("COURIER New"));
    EXPECT_TRUE(heading.bold);
}

TEST_F(NamesList, OneClubKeepsTheLinesOfItsTwentyCharacterName) {
    RecordingSurface s;
    printNamesList(lines(), 2, s);
    const QString text = s.allText();
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Liste des NOMS Société de LES AILES DU NORD ET DU PAS")));
    EXPECT_TRUE(text.contains(QStringLiteral("DURAND Paul")));
    EXPECT_FALSE(text.contains(QStringLiteral("DUPONT")));

    printNamesList(lines(), 1, s);
    EXPECT_TRUE(s.allText().contains(QStringLiteral("DUPONT Michel")));
    EXPECT_TRUE(s.allText().contains(QStringLiteral("MARTIN Luc")));
    EXPECT_FALSE(s.allText().contains(QStringLiteral("DURAND")));
}

} // namespace
} // namespace vt
