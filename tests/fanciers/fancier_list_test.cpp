#include "fanciers/fancier_list.h"

#include "common/fancier_slots.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/sorting.h"
#include "common/text.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vt;
using vt::testing::ClubFixture;

namespace {

struct ListFixture : ::testing::Test {
    ClubFixture club;
    void SetUp() override {
        club.writeClub(QStringLiteral("LES AMIS"), QStringLiteral("12345"), 7);
        club.configureSession();
    }
    RecordFileOf<FancierRecord> season() const {
        return RecordFileOf<FancierRecord>(session().FancierFilePath);
    }
    FancierRecord fancier(const QString& name) const {
        return club.fancierRecord({name, QStringLiteral("LILLE"), 503812, 30350, 0,
                                   QStringLiteral("3 rue Nationale"), QStringLiteral("59000"),
                                   QStringLiteral("1234567")});
    }
};

} // namespace

TEST_F(ListFixture, LineLayout) {
    const QString line = fancierListItem(QStringLiteral("DUPONT Michel"),
                                         QStringLiteral("LES AMIS"), QStringLiteral("LILLE"), 12);
    EXPECT_EQ(line, QStringLiteral("DUPONT Michel") + QString(10, u' ') + "LES AMIS" +
                        QString(12, u' ') + "LILLE" + QString(23, u' ') + "   12");
    EXPECT_EQ(line.size(), FancierListItemLength);
    EXPECT_EQ(recordNoOfLine(line), 12);
    EXPECT_EQ(recordNoOfLine(fancierListItem("X", "Y", "Z", 12345)), 12345);
    const QString clubLine = clubListLine(QStringLiteral("LES AMIS"), 1);
    EXPECT_EQ(clubLine, QStringLiteral("LES AMIS") + QString(12, u' ') + " 1    ");
    EXPECT_EQ(clubNoOfLine(clubLine), 1);
    EXPECT_EQ(clubListLines(), QStringList{clubLine});
}

// Each record in, the record the loader leaves on file, and whether it is listed.
TEST_F(ListFixture, LoaderRepairsWhatIsInvalidAndKeepsWhatIsValid) {
    using Change = std::function<void(FancierRecord&)>;
    struct Case {
        const char* what;
        QString name;
        Change input;    // applied to the fancier before the load
        Change expected; // applied to the input to give the record after the load
        bool listed;
    };
    const Change none = [](FancierRecord&) {};
    auto named = [](const QString& n) { return [n](FancierRecord& r) { r.setFancierName(n); }; };
    const QList<Case> cases = {
        {"accented first letter", QStringLiteral("Émile DURAND"), none, none, false},
        {"digit first", QStringLiteral("1ER LOFT"), none, none, false},
        {"lower-case first name", "DUPONT michel", none, named("DUPONT Michel"), true},
        {"capitals kept", "DUPONT MICHEL", none, none, true},
        {"match before position 6", "paul DUPONT", none, none, true},
        {"after a hyphen", "DUPONT Jean-michel", none, named("DUPONT Jean-Michel"), true},
        {"longer first name", "DUPONT michelle", none, named("DUPONT Michelle"), true},
        {"philippe", "DUPONT philippe", none, named("DUPONT Philippe"), true},
        {"Gerard", "DUPONT Gerard", none, named(QStringLiteral("DUPONT Gérard")), true},
        {"Valere", "DUPONT Valere", none, named(QStringLiteral("DUPONT Valère")), true},
        {"Valentin", "DUPONT Valentin", none, none, true},
        {"Valerie", "DUPONT Valerie", none, none, true},
        {"Andrea", "DUPONT Andrea", none, none, true},
        {"Andre", "DUPONT Andre", none, named(QStringLiteral("DUPONT André")), true},
        {"trimmed, then corrected", "  dupont paul", none, named("dupont Paul"), true},
        {"N° prefix", "MARTIN Jean",
         [](FancierRecord& r) { r.setAddressLine(QStringLiteral("N°12 rue")); },
         [](FancierRecord& r) { r.setAddressLine("12 rue"); }, true},
        {"latitude 2999", "MARTIN Jean", [](FancierRecord& r) { r.setLatitudeDms(2999); },
         [](FancierRecord& r) {
             r.setLatitudeDms(0);
             r.setLongitudeEastDms(0);
         },
         true},
        {"latitude 3000", "MARTIN Jean", [](FancierRecord& r) { r.setLatitudeDms(3000); }, none,
         true},
        {"town with a digit", "MARTIN Jean", [](FancierRecord& r) { r.setTown("59 LILLE"); }, none,
         true},
        {"foreign postcode", "MARTIN Jean", [](FancierRecord& r) { r.setPostCode("B-7000"); }, none,
         true},
        {"postcode of zeros", "MARTIN Jean", [](FancierRecord& r) { r.setPostCode("00000"); },
         [](FancierRecord& r) { r.setPostCode(""); }, true},
        {"postcode of one zero", "MARTIN Jean", [](FancierRecord& r) { r.setPostCode("  0"); },
         [](FancierRecord& r) { r.setPostCode(""); }, true},
        {"status 7", "MARTIN Jean", [](FancierRecord& r) { r.setStatusFlag(7); },
         [](FancierRecord& r) { r.setStatusFlag(0); }, true},
        {"status 7 on a free slot", "", [](FancierRecord& r) { r.setStatusFlag(7); },
         [](FancierRecord& r) { r.setStatusFlag(0); }, false},
        {"club 9 of one", "MARTIN Jean", [](FancierRecord& r) { r.setClubNumber("9"); },
         [](FancierRecord& r) { r.setClubNumber("1"); }, true},
    };

    QList<FancierRecord> in, expected;
    for (const Case& c : cases) {
        FancierRecord r = fancier(c.name);
        c.input(r);
        in.append(r);
        c.expected(r);
        if (c.listed) {
            r.setClubGroupNumber(7);
            r.setClubCode(QStringLiteral("12345"));
        }
        expected.append(r);
    }
    in.append(FancierRecord()); // a zero record: a free slot, left as it is
    expected.append(FancierRecord());
    season().rewrite(in);

    const FancierListLoad load = loadFancierList(ListMode::All, 0);
    ASSERT_TRUE(load.error.isEmpty()) << load.error.toStdString();
    const QList<FancierRecord> after = season().readAll();
    ASSERT_EQ(after.size(), in.size());
    QList<int> listed;
    for (const QString& line : load.lines)
        listed.append(recordNoOfLine(line));
    for (int i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(cases[i].what);
        EXPECT_EQ(after[i].bytes(), expected[i].bytes());
        EXPECT_EQ(listed.contains(i + 1), cases[i].listed);
        EXPECT_EQ(load.written.contains(i + 1), !(in[i] == expected[i]));
    }
    EXPECT_TRUE(after.last().isZero());
    // The list is in the one sorted order of every list.
    QStringList sorted = load.lines;
    std::sort(sorted.begin(), sorted.end(), listTextLess);
    EXPECT_EQ(load.lines, sorted);
}

TEST_F(ListFixture, LoaderLinesAndEmptyFile) {
    FancierListLoad load = loadFancierList(ListMode::All, 0);
    EXPECT_TRUE(load.lines.isEmpty());
    EXPECT_TRUE(load.written.isEmpty());
    EXPECT_FALSE(season().exists());

    FancierRecord michel = fancier("DUPONT Michel");
    RecordFileOf<FancierRecord> s = season();
    s.write(12, michel); // records 1 to 11 are zero records
    load = loadFancierList(ListMode::All, 0);
    ASSERT_EQ(load.lines.size(), 1);
    EXPECT_EQ(load.lines[0], QStringLiteral("DUPONT Michel") + QString(10, u' ') + "LES AMIS" +
                                 QString(12, u' ') + "LILLE" + QString(23, u' ') + "   12");
    EXPECT_EQ(load.written, QList<int>{12}); // the club's group number and code
    EXPECT_EQ(loadFancierList(ListMode::All, 0).written, QList<int>{});
    EXPECT_TRUE(loadFancierList(ListMode::None, 0).lines.isEmpty());
}

TEST_F(ListFixture, OneClubListsAndWritesOnlyThatClub) {
    Session& ses = session();
    ses.ClubCount = 2;
    ses.ClubNames = {QString(), QStringLiteral("LES AMIS"), QStringLiteral("LE RAMIER")};
    ses.ClubCodes = {QString(), QStringLiteral("12345"), QStringLiteral("67890")};
    ses.ClubGroupNumbers = {0, 1, 2};
    FancierRecord a = fancier("DUPONT michel");
    FancierRecord b = fancier("MARTIN michel");
    b.setClubNumber("2");
    b.setAddressLine(QStringLiteral("N°5 rue X"));
    season().rewrite({a, b});
    const QByteArray bBytes = b.bytes();

    FancierListLoad load = loadFancierList(ListMode::OneClub, 1);
    ASSERT_EQ(load.lines.size(), 1);
    EXPECT_EQ(recordNoOfLine(load.lines[0]), 1);
    EXPECT_EQ(season().read(2).bytes(), bBytes);
    EXPECT_EQ(trim(season().read(1).fancierName()), "DUPONT Michel");

    load = loadFancierList(ListMode::OneClub, 2);
    ASSERT_EQ(load.lines.size(), 1);
    EXPECT_EQ(load.lines[0].mid(23, 20), QStringLiteral("LE RAMIER") + QString(11, u' '));
    EXPECT_EQ(trim(season().read(2).addressLine()), "5 rue X");
    EXPECT_EQ(trim(season().read(2).clubCode()), "67890");
    EXPECT_TRUE(loadFancierList(ListMode::ChooseClubToPrint, 1).lines.isEmpty());
}

TEST_F(ListFixture, MemoRewritesTheSavedListedFanciers) {
    FancierRecord a = fancier("DUPONT Jean"), b = fancier("MARTIN Paul"), c = fancier("ZOLA Emile");
    a.setLastSaveYear(" 2005");
    c.setLastSaveYear(" 2004");
    season().rewrite({a, b, c});
    const QStringList lines = loadFancierList(ListMode::All, 0).lines;
    writeMemoFile(lines);
    const QByteArray first = vt::testing::readBytes(memoFilePath());
    writeMemoFile(lines);
    const QByteArray second = vt::testing::readBytes(memoFilePath());
    EXPECT_EQ(first, second);
    ASSERT_EQ(first.size(), 2 * 3197);
    EXPECT_EQ(trim(FancierRecord(first.left(3197)).fancierName()), "DUPONT Jean");
    EXPECT_EQ(trim(FancierRecord(first.mid(3197)).fancierName()), "ZOLA Emile");
    EXPECT_TRUE(memoFilePath().endsWith("noms.vbar"));
}
