// Saving an entry sheet, the recap list and the opening of an entry sheet, on the files.
#include "common/record_file.h"
#include "common/session.h"
#include "entries/entry_save.h"
#include "entries/entry_sheet.h"
#include "entry_test_support.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"

#include <QFile>
#include <QDir>

#include <gtest/gtest.h>

using namespace vt;
using namespace vt::testing;

namespace {

// The small club (three fanciers), two chosen races 105 and 212, today in 2005.
class EntrySave : public ::testing::Test {
protected:
    void SetUp() override {
        fx.writeSmallClub();
        Session& s = fx.configureSession();
        s.ChosenRaceCodes = {};
        s.ChosenRaceCodes[1] = 105;
        s.ChosenRaceCodes[2] = 212;
        writeRaceFiles(fx.yearFolder(), {105, "Brive", 451000, 13000, 0, ExampleSheet, 3});
        writeRaceFiles(fx.yearFolder(), {212, "Tours", 472338, 4122, 0, SimpleSheet, 3});
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
    }
    void TearDown() override { setClockForTests({}); }

    RaceGrids grids(int recordNo) {
        RaceGrids g;
        g.load(fx.yearFolder(), session().ChosenRaceCodes, recordNo);
        return g;
    }
    EntrySaveInput input(int recordNo) {
        const EntrySheetOpening o = openEntrySheet(recordNo);
        return {o.recordNo, o.clubNo, o.boxes, o.boxes.name};
    }
    QList<QByteArray> allFiles() {
        return {readBytes(fx.yearPath("noms.vba")), readBytes(fx.path("noms.vba")),
                readBytes(misePath(fx.yearFolder(), 105)), readBytes(misePath(fx.yearFolder(), 212))};
    }
    FancierRecord season(int n) { return RecordFileOf<FancierRecord>(fx.yearPath("noms.vba")).read(n); }
    FancierRecord master(int n) { return RecordFileOf<FancierRecord>(fx.path("noms.vba")).read(n); }

    ClubFixture fx;
};

} // namespace

TEST_F(EntrySave, StoresTheFancierHisBlocksAndAmountsByteForByte) {
    // What the season file held before: an old amount for race 105, and a stake on a line
    // the grid does not have (kept).
    FancierRecord before = season(2);
    before.setRaceAmount(105, 111);
    before.setPigeonCount(9);
    RecordFileOf<FancierRecord>(fx.yearPath("noms.vba")).write(2, before);
    StakeAmountBlock old;
    old.setStakeCount(50, 7);
    RecordFileOf<StakeAmountBlock>(misePath(fx.yearFolder(), 105)).write(2, old);

    RaceGrids g = grids(2);
    typeKeys(g.grid(1), 1, "10\r");
    typeKeys(g.grid(1), 2, "10\r");
    typeKeys(g.grid(1), 3, "6\r");
    typeKeys(g.grid(1), 6, "2\r");
    typeKeys(g.grid(2), 1, "4\r");
    typeKeys(g.grid(2), 2, "3"); // still pending: the save commits it first
    g.commitAll();

    ScriptedDialogsScope dialogs;
    EntrySaveInput in = input(2);
    in.boxes.latitude = QStringLiteral("504130,5");
    const EntrySaveResult r = saveEntrySheet(in, g, *dialogs);
    ASSERT_TRUE(r.saved) << r.plan.message.toStdString();
    EXPECT_TRUE(dialogs->asked().isEmpty());

    // mise.105, record 2 at byte 404: the eleven elements of the grid, then as before.
    const QByteArray mise = readBytes(misePath(fx.yearFolder(), 105)).mid(404, 404);
    EXPECT_EQ(mise.left(44).toHex(' '),
              QByteArray("00 00 20 41 00 00 20 41 00 00 c0 40 00 00 b0 41 00 00 20 41 00 00 00 40 "
                         "00 00 d0 41 00 00 00 40 00 00 00 40 00 00 80 40 00 00 a8 41"));
    EXPECT_EQ(StakeAmountBlock(mise).stakeCount(50), 7.0f);
    const StakeAmountBlock race2 = RecordFileOf<StakeAmountBlock>(misePath(fx.yearFolder(), 212)).read(2);
    EXPECT_EQ(race2.stakeCount(0), 4.0f);
    EXPECT_EQ(race2.stakeCount(1), 3.0f);

    // The season record: 26000 thousandths for race 105 at byte 3197 + 597 + 420.
    const QByteArray seasonBytes = readBytes(fx.yearPath("noms.vba"));
    EXPECT_EQ(seasonBytes.mid(3197 + 597 + 4 * 105, 4).toHex(' '), QByteArray("90 65 00 00"));
    const FancierRecord saved = season(2);
    EXPECT_EQ(saved.raceAmount(212), 3000);
    EXPECT_EQ(saved.lastSaveYear(), QStringLiteral(" 2005"));
    EXPECT_EQ(saved.pigeonCount(), 0);
    EXPECT_EQ(saved.clubNumber(), QStringLiteral("1   "));
    EXPECT_EQ(saved.clubNamePrefix(), QStringLiteral("LES "));
    EXPECT_EQ(saved.latitudeDms(), 504130.5);
    EXPECT_EQ(saved.fancierName(), QStringLiteral("MARTIN Paul            "));

    // The master gets the same record with the amounts the season file held before.
    FancierRecord expectedMaster = saved;
    expectedMaster.setRaceAmount(105, 111);
    expectedMaster.setRaceAmount(212, 0);
    EXPECT_EQ(master(2).bytes(), expectedMaster.bytes());

    EXPECT_EQ(r.plan.recapLine, QStringLiteral("MARTIN Paul                2 LES AILES LILLOISE"
                                               "   29,000"));
}

TEST_F(EntrySave, RefusalsQuestionsAndTheirAnswers) {
    struct Case {
        const char* what;
        int recordNo;
        std::function<void(EntrySaveInput&)> edit;
        QList<MsgAnswer> answers;
        bool saved;
        EntryBox focus;
    };
    auto blankRecord3 = [this] {
        FancierRecord r = season(3);
        r.setFancierName(QString());
        RecordFileOf<FancierRecord>(fx.yearPath("noms.vba")).write(3, r);
    };
    const QList<Case> cases = {
        {"a name that does not begin with A to Z", 1,
         [](EntrySaveInput& in) { in.boxes.name = QStringLiteral("éric"); }, {MsgAnswer::Ok}, false,
         EntryBox::Name},
        {"a latitude that is not a number", 1,
         [](EntrySaveInput& in) { in.boxes.latitude = QStringLiteral("48a"); }, {MsgAnswer::Ok},
         false, EntryBox::Latitude},
        {"a character outside Windows-1252", 1,
         [](EntrySaveInput& in) { in.boxes.town = QStringLiteral("LILLE ✓"); }, {MsgAnswer::Ok}, false,
         EntryBox::Town},
        {"deleting, answered No", 1, [](EntrySaveInput& in) { in.boxes.name.clear(); },
         {MsgAnswer::No}, false, EntryBox::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const QList<QByteArray> before = allFiles();
        ScriptedDialogsScope dialogs;
        for (MsgAnswer a : c.answers)
            dialogs->answer(a);
        EntrySaveInput in = input(c.recordNo);
        c.edit(in);
        const EntrySaveResult r = saveEntrySheet(in, grids(c.recordNo), *dialogs);
        EXPECT_EQ(r.saved, c.saved);
        EXPECT_EQ(r.focus, c.focus);
        EXPECT_EQ(dialogs->pendingAnswers(), 0);
        EXPECT_EQ(allFiles(), before);
    }

    // No name stored and none typed: nothing written, and the user is told.
    blankRecord3();
    const QList<QByteArray> before = allFiles();
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Ok);
    EntrySaveInput in = input(3);
    const EntrySaveResult r = saveEntrySheet(in, grids(3), *dialogs);
    EXPECT_FALSE(r.saved);
    EXPECT_EQ(r.plan.status, EntrySavePlan::NothingToSave);
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_EQ(dialogs->messages()[0].text, QStringLiteral("Aucun nom : rien n'a été enregistré."));
    EXPECT_EQ(allFiles(), before);
}

TEST_F(EntrySave, DeletingClearsTheNameTheStakesAndTheAmounts) {
    RaceGrids g = grids(1);
    typeKeys(g.grid(1), 1, "5\r");
    FancierRecord withAmount = season(1);
    withAmount.setRaceAmount(300, 4000); // a race of an earlier basketing
    RecordFileOf<FancierRecord>(fx.yearPath("noms.vba")).write(1, withAmount);
    RecordFileOf<StakeAmountBlock>(misePath(fx.yearFolder(), 212)).write(1, stakeBlock({3, 2}));

    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Yes);
    EntrySaveInput in = input(1);
    in.boxes.name = QStringLiteral("   ");
    const EntrySaveResult r = saveEntrySheet(in, g, *dialogs);
    ASSERT_TRUE(r.saved);
    const MessageRequest q = dialogs->messages().at(0);
    EXPECT_EQ(q.text, QStringLiteral("Supprimer l'amateur n° 1 (DUPONT Jean) et ses engagements "
                                     "des concours choisis ?"));
    EXPECT_EQ(q.defaultButton, MsgAnswer::No);
    for (const FancierRecord& rec : {season(1), master(1)}) {
        EXPECT_EQ(rec.bytes().left(23), QByteArray(23, ' '));
        EXPECT_EQ(rec.bytes().mid(597), QByteArray(2600, '\0'));
    }
    for (int code : {105, 212})
        EXPECT_TRUE(RecordFileOf<StakeAmountBlock>(misePath(fx.yearFolder(), code)).read(1).isZero());
    EXPECT_TRUE(r.plan.recapLine.isEmpty());
}

TEST_F(EntrySave, AMasterRecordOfAnotherFancierIsReplacedOnlyOnYes) {
    FancierRecord other = master(2);
    other.setFancierName(QStringLiteral("DUPONT Jean-Marc"));
    RecordFileOf<FancierRecord>(fx.path("noms.vba")).write(2, other);
    for (MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes}) {
        const QList<QByteArray> before = allFiles();
        ScriptedDialogsScope dialogs;
        dialogs->answer(answer);
        const EntrySaveResult r = saveEntrySheet(input(2), grids(2), *dialogs);
        EXPECT_EQ(dialogs->messages().at(0).text,
                  QStringLiteral("La fiche n° 2 du fichier général contient « DUPONT Jean-Marc ». "
                                 "La remplacer ?"));
        EXPECT_EQ(r.saved, answer == MsgAnswer::Yes);
        if (answer == MsgAnswer::No) {
            EXPECT_EQ(allFiles(), before);
        }
    }
    EXPECT_EQ(master(2).fancierName().trimmed(), QStringLiteral("MARTIN Paul"));
}

TEST_F(EntrySave, TwoLongitudesKeepTheEastOneWithAWarning) {
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Ok);
    EntrySaveInput in = input(1);
    in.boxes.east = QStringLiteral("30350");
    in.boxes.west = QStringLiteral("1200.5");
    ASSERT_TRUE(saveEntrySheet(in, grids(1), *dialogs).saved);
    EXPECT_EQ(dialogs->messages().at(0).text,
              QStringLiteral("Deux longitudes : la longitude est est gardée."));
    EXPECT_EQ(season(1).longitudeEastDms(), 30350.0);
    EXPECT_EQ(season(1).longitudeWestDms(), 0.0);
}

TEST_F(EntrySave, AFileThatCannotBeWrittenStopsTheSaveBeforeAnyWrite) {
    RaceGrids g = grids(1);
    typeKeys(g.grid(1), 1, "5\r");
    const QString mise212 = misePath(fx.yearFolder(), 212);
    makeUnwritable(mise212);
    const QList<QByteArray> before = allFiles();
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Ok);
    const EntrySaveResult r = saveEntrySheet(input(1), g, *dialogs);
    EXPECT_FALSE(r.saved);
    ASSERT_EQ(dialogs->messages().size(), 1);
    EXPECT_TRUE(dialogs->messages()[0].text.contains(QStringLiteral("mise.212")));
    EXPECT_EQ(allFiles(), before);
}

TEST(RecapList, Lines) {
    EXPECT_EQ(recapListItem(QStringLiteral("  MARTIN PAUL "), 5, QStringLiteral("ENTENTE"), 15750),
              QStringLiteral("MARTIN PAUL                5 ENTENTE              15,750"));
    EXPECT_EQ(recapListItem(QStringLiteral("DUPONT Jean"), 7, QStringLiteral("LA COLOMBE"), 0).size(), 47);
    EXPECT_EQ(recapListItem(QStringLiteral("DUPONT Jean"), 7, QStringLiteral("LA COLOMBE"), -5, true),
              QStringLiteral("DUPONT Jean                7 LA COLOMBE        ") + QString(11, u' '));
    const QString six = recapListItem(QStringLiteral("A"), 123456, QStringLiteral("UN NOM DE CLUB TRES LONG"), 123456789012);
    EXPECT_EQ(six.mid(23, 5), QStringLiteral("23456"));
    EXPECT_EQ(six.mid(29, 18), QStringLiteral("UN NOM DE CLUB TRE"));
    EXPECT_EQ(six.mid(47), QStringLiteral("123456789,012")); // a longer total is not cut
    EXPECT_EQ(recordNoOfRecapLine(six), 23456);
    EXPECT_TRUE(recapLineHasTotal(six));
    EXPECT_FALSE(recapLineHasTotal(recapListItem(QStringLiteral("B"), 1, QString(), 0, true)));

    std::array<int16_t, 12> codes{};
    codes[1] = 105;
    codes[2] = 212;
    codes[4] = 301; // after an empty slot
    FancierRecord r;
    r.setRaceAmount(105, 12500);
    r.setRaceAmount(212, 3250);
    r.setRaceAmount(301, 99);
    EXPECT_EQ(fancierTotal(r, codes), 15750);
}

TEST_F(EntrySave, RecapLoadListsMendsAndNeverBlanksAName) {
    RecordFileOf<FancierRecord> file(fx.yearPath("noms.vba"));
    FancierRecord r1 = file.read(1);
    r1.setStatusFlag(2);
    r1.setClubNumber(QStringLiteral(" 2"));
    r1.setRaceAmount(105, 12500);
    r1.setRaceAmount(212, 3250);
    file.write(1, r1);
    FancierRecord r2 = file.read(2);
    r2.setClubNumber(QStringLiteral(" 1"));
    r2.setFancierName(QStringLiteral("  MARTIN Paul"));
    file.write(2, r2);
    FancierRecord r3 = file.read(3);
    r3.setFancierName(QStringLiteral("Émile LEROY"));
    r3.setStatusFlag(-1);
    file.write(3, r3);
    file.write(5, FancierRecord()); // record 4 and 5: zeros

    const RecapListLoad load = loadRecapList();
    EXPECT_TRUE(load.error.isEmpty());
    EXPECT_EQ(load.lines,
              QStringList({QStringLiteral("DUPONT Jean                1 LES AILES LILLOISE   15,750"),
                           QStringLiteral("MARTIN Paul                2 LES AILES LILLOISE")}));
    EXPECT_EQ(load.records, QList<int>({1, 2}));
    EXPECT_EQ(load.written, QList<int>({1, 3, 4, 5}));
    EXPECT_EQ(file.read(1).statusFlag(), 0);
    EXPECT_EQ(file.read(1).clubNumber(), QStringLiteral("1   "));
    EXPECT_EQ(file.read(2).bytes(), r2.bytes()); // " 1" and the leading spaces stay
    EXPECT_EQ(file.read(3).fancierName().trimmed(), QStringLiteral("Émile LEROY"));
    EXPECT_EQ(file.read(3).statusFlag(), 0);
    EXPECT_EQ(file.read(4).bytes().left(23), QByteArray(23, ' '));
    EXPECT_EQ(file.read(4).clubNumber(), QStringLiteral("0   "));

    const QByteArray after = readBytes(fx.yearPath("noms.vba"));
    EXPECT_TRUE(loadRecapList().written.isEmpty());
    EXPECT_EQ(readBytes(fx.yearPath("noms.vba")), after);

    QFile::remove(fx.yearPath("noms.vba"));
    EXPECT_TRUE(loadRecapList().lines.isEmpty());
    EXPECT_FALSE(QFile::exists(fx.yearPath("noms.vba")));
}

TEST_F(EntrySave, OpeningANewFancierClaimsABlankRecordOfBothFiles) {
    // Record 2 is blank in the season file but still named in the master: not claimable.
    FancierRecord blank2 = season(2);
    blank2.setFancierName(QString());
    RecordFileOf<FancierRecord>(fx.yearPath("noms.vba")).write(2, blank2);
    RecordFileOf<StakeAmountBlock>(misePath(fx.yearFolder(), 105)).write(4, stakeBlock({6, 2}));

    const EntrySheetOpening o = openEntrySheet(0);
    EXPECT_TRUE(o.error.isEmpty());
    EXPECT_EQ(o.recordNo, 4);
    EXPECT_EQ(season(4).clubNumber(), QStringLiteral("1   "));
    EXPECT_TRUE(o.boxes.name.isEmpty());
    EXPECT_EQ(o.boxes.latitude, QStringLiteral("0"));
    EXPECT_TRUE(o.boxes.east.isEmpty());
    EXPECT_TRUE(RecordFileOf<StakeAmountBlock>(misePath(fx.yearFolder(), 105)).read(4).isZero());
    EXPECT_EQ(master(4).bytes(), FancierRecord().bytes()); // the master waits for the save

    // A club number outside the clubs becomes 1, written back.
    FancierRecord r1 = season(1);
    r1.setClubNumber(QStringLiteral("7"));
    RecordFileOf<FancierRecord>(fx.yearPath("noms.vba")).write(1, r1);
    const EntrySheetOpening one = openEntrySheet(1);
    EXPECT_EQ(one.clubNo, 1);
    EXPECT_EQ(season(1).clubNumber(), QStringLiteral("1   "));
    EXPECT_EQ(one.boxes.latitude, QStringLiteral("503812"));
    EXPECT_EQ(one.boxes.east, QStringLiteral("30350"));
}

TEST(EntrySheetDistance, Line) {
    const PackedPoint site{472338, 4122, 0};
    const QString line = loftDistanceLine(QStringLiteral("503812"), QStringLiteral("30350"), QString(), site);
    EXPECT_TRUE(line.startsWith(QStringLiteral(" Distance =  "))) << line.toStdString();
    EXPECT_TRUE(line.mid(13).toInt() > 300000) << line.toStdString();
    EXPECT_EQ(loftDistanceLine(QStringLiteral("503812,0"), QStringLiteral("30350"), QString(), site), line);
    EXPECT_TRUE(loftDistanceLine(QString(), QStringLiteral("30350"), QString(), site).isEmpty());
    EXPECT_TRUE(loftDistanceLine(QStringLiteral("0"), QString(), QString(), site).isEmpty());
    EXPECT_TRUE(loftDistanceLine(QStringLiteral("503812"), QString(), QString(), std::nullopt).isEmpty());
    EXPECT_EQ(coordinateText(QStringLiteral("48,0506")), QStringLiteral("48.0506"));
}

TEST_F(EntrySave, AWriteThatFailsHalfWayNamesTheFileAndStopsTheRest) {
    RaceGrids g = grids(1);
    typeKeys(g.grid(1), 1, "5\r");
    typeKeys(g.grid(2), 1, "5\r");
    const EntrySavePlan plan = planEntrySave(input(1), g);
    ASSERT_EQ(plan.status, EntrySavePlan::Ready);
    makeUnwritable(misePath(fx.yearFolder(), 212)); // after the checks, as a full disk would
    const FancierRecord seasonBefore = season(1);
    const QString error = applyEntrySave(plan);
    EXPECT_TRUE(error.contains(QStringLiteral("mise.212"))) << error.toStdString();
    // Written up to the failure: season and master identity, race 105's block; the season's
    // new amounts (the last write) are not.
    EXPECT_EQ(season(1).raceAmount(105), seasonBefore.raceAmount(105));
    EXPECT_EQ(master(1).bytes(), plan.masterRecord.bytes());
    EXPECT_EQ(RecordFileOf<StakeAmountBlock>(misePath(fx.yearFolder(), 105)).read(1).stakeCount(0), 5.0f);
}
