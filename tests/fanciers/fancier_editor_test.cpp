#include "fanciers/fancier_editor.h"

#include "common/fancier_slots.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

#include <limits>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::readBytes;

namespace {

struct EditorFixture : ::testing::Test {
    ClubFixture club;
    void SetUp() override {
        club.writeClub(QStringLiteral("LES AMIS"), QStringLiteral("12345"), 1);
        club.configureSession();
    }
    RecordFileOf<FancierRecord> season() const {
        return RecordFileOf<FancierRecord>(session().FancierFilePath);
    }
    RecordFileOf<FancierRecord> master() const {
        return RecordFileOf<FancierRecord>(session().MasterFancierPath);
    }
    FancierRecord fancier(const QString& name) const {
        return club.fancierRecord({name, QStringLiteral("LILLE"), 503812, 30350, 0,
                                   QStringLiteral("3 rue Nationale"), QStringLiteral("59000"),
                                   QStringLiteral("1234567")});
    }
    // Season and master both [1 DUPONT, 2 blank, 3 MARTIN].
    void writeThree() {
        const QList<FancierRecord> three = {fancier("DUPONT Jean"), blankFancierRecord(),
                                            fancier("MARTIN Paul")};
        season().rewrite(three);
        master().rewrite(three);
    }
    // Race 101 chosen, its mise file with a non-zero block for each of `records` records.
    QString chooseRaceWithStakes(int records) {
        session().ChosenRaceCodes[1] = 101;
        RecordFileOf<StakeAmountBlock> mise(club.yearPath("mise.101"));
        for (int n = 1; n <= records; ++n) {
            StakeAmountBlock b;
            b.setStakeCount(0, 4);
            b.setStakeCount(2, 3);
            mise.write(n, b);
        }
        return mise.path();
    }
    QByteArray files() const {
        return readBytes(session().FancierFilePath) + readBytes(session().MasterFancierPath);
    }
};

} // namespace

TEST_F(EditorFixture, NewFancierClaimsTheFreeMiddleSlotAndSavesIntoBothFiles) {
    writeThree();
    const QString mise = chooseRaceWithStakes(3);
    const EditedFancier e = openFancier(0, 0);
    ASSERT_EQ(e.recordNo, 2);
    EXPECT_EQ(e.clubNo, 1);
    EXPECT_EQ(e.clubName, "LES AMIS");
    EXPECT_EQ(e.form[FancierBox::Town], "LES AMIS"); // an empty town shows the club name

    FancierRecord claimed = blankFancierRecord();
    claimed.setRaw(148, "1   ");
    claimed.setRaw(581, "12345   ");
    EXPECT_EQ(season().read(2).bytes(), claimed.bytes());
    EXPECT_EQ(master().read(2).bytes(), claimed.bytes());
    EXPECT_TRUE(RecordFileOf<StakeAmountBlock>(mise).read(2).isZero());
    EXPECT_FALSE(RecordFileOf<StakeAmountBlock>(mise).read(1).isZero());

    FancierForm form = e.form;
    form[FancierBox::Name] = "LEROY Jean";
    form[FancierBox::Latitude] = "503000";
    form[FancierBox::East] = "31010";
    ScriptedDialogsScope dialogs;
    const FancierSave saved = saveFancier(e, form, *dialogs);
    ASSERT_EQ(saved.outcome, FancierSave::Saved);
    EXPECT_TRUE(dialogs->asked().isEmpty());

    const QByteArray s = season().read(2).bytes();
    EXPECT_EQ(s.mid(0, 23), QByteArray("LEROY Jean") + QByteArray(13, ' '));
    EXPECT_EQ(s.mid(87, 28), QByteArray("LES AMIS") + QByteArray(20, ' '));
    EXPECT_EQ(s.mid(589, 8), QByteArray::fromHex("00000000" "60b31e41"));
    EXPECT_EQ(s.mid(132, 8), QByteArray::fromHex("00000000" "8048de40"));
    EXPECT_EQ(s.mid(140, 8), QByteArray(8, '\0'));
    EXPECT_EQ(s.mid(157, 2), QByteArray(2, '\0'));
    EXPECT_EQ(s.mid(148, 4), "1   ");
    EXPECT_EQ(s.mid(159, 4), "LES ");
    EXPECT_EQ(s.mid(581, 8), "12345   ");
    QByteArray m = s;
    m.replace(159, 4, "    ");
    EXPECT_EQ(master().read(2).bytes(), m);
    EXPECT_EQ(saved.listLine, QStringLiteral("LEROY Jean") + QString(13, u' ') + "LES AMIS" +
                                  QString(12, u' ') + "LES AMIS" + QString(20, u' ') + "    2");
    EXPECT_EQ(season().count(), 3);
}

TEST_F(EditorFixture, ClaimLooksAtBothFiles) {
    season().rewrite({fancier("DUPONT Jean"), blankFancierRecord()});
    master().rewrite({fancier("DUPONT Jean"), fancier("BERNARD Luc")});
    const QByteArray bernard = master().read(2).bytes();
    EXPECT_EQ(openFancier(0, 0).recordNo, 3);
    EXPECT_EQ(master().read(2).bytes(), bernard);
    EXPECT_EQ(season().count(), 3);
    EXPECT_EQ(master().count(), 3);
}

TEST_F(EditorFixture, CoordinateBoxes) {
    struct Case {
        QString latitude, east, west;
        bool saved;
        double lat, eastOut, westOut;
        int messages;
    };
    const Case cases[] = {
        {"48,0506", "", "", true, 48.0506, 0, 0, 1}, // below 3000: asked, answered Yes
        {"480506", "", "", true, 480506, 0, 0, 0},
        {"480506.5", "31010", "", true, 480506.5, 31010, 0, 0},
        {"480506", "", "1234,5", true, 480506, 0, 1234.5, 0},
        {"480506", "31010", "1234", true, 480506, 31010, 0, 1}, // one longitude kept
        {"", "", "", true, 0, 0, 0, 0},
        {"48,05,06", "", "", false, 0, 0, 0, 1},
        {"4805a", "", "", false, 0, 0, 0, 1},
        {"480506", "abc", "", false, 0, 0, 0, 1},
        {"-480506", "", "", false, 0, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latitude.toStdString() + " / " + c.east.toStdString() + " / " +
                     c.west.toStdString());
        writeThree();
        const EditedFancier e = openFancier(1, 0);
        FancierForm form = e.form;
        form[FancierBox::Latitude] = c.latitude;
        form[FancierBox::East] = c.east;
        form[FancierBox::West] = c.west;
        const QByteArray before = files();
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Yes);
        const FancierSave out = saveFancier(e, form, *dialogs);
        EXPECT_EQ(out.outcome == FancierSave::Saved, c.saved);
        EXPECT_EQ(dialogs->messages().size(), c.messages);
        if (!c.saved) {
            EXPECT_EQ(files(), before);
            ASSERT_EQ(dialogs->messages().size(), 1);
            EXPECT_TRUE(dialogs->messages()[0].text.contains(fancierBoxCaption(out.focus)));
            continue;
        }
        for (const FancierRecord& r : {season().read(1), master().read(1)}) {
            EXPECT_DOUBLE_EQ(r.latitudeDms(), c.lat);
            EXPECT_DOUBLE_EQ(r.longitudeEastDms(), c.eastOut);
            EXPECT_DOUBLE_EQ(r.longitudeWestDms(), c.westOut);
        }
    }
}

TEST_F(EditorFixture, LowLatitudeAsksAndNoWritesNothing) {
    writeThree();
    const EditedFancier e = openFancier(1, 0);
    FancierForm form = e.form;
    form[FancierBox::Latitude] = "2500";
    const QByteArray before = files();
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::No);
    const FancierSave out = saveFancier(e, form, *dialogs);
    EXPECT_EQ(out.outcome, FancierSave::Refused);
    EXPECT_EQ(out.focus, FancierBox::Latitude);
    ASSERT_EQ(dialogs->messages().size(), 1);
    const MessageRequest q = dialogs->messages()[0];
    EXPECT_EQ(q.text, QStringLiteral("La latitude 2500 est inférieure à 3000 : la liste des "
                                     "amateurs effacera les coordonnées de cet amateur à son "
                                     "prochain chargement. Enregistrer quand même ?"));
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.defaultButton, MsgAnswer::No);
    EXPECT_EQ(files(), before);
}

TEST_F(EditorFixture, NamesThatWouldReadAsFreeSlotsAreRefused) {
    writeThree();
    const EditedFancier e = openFancier(1, 0);
    for (const QString& name : {QStringLiteral("Émile DURAND"), QStringLiteral("1ER"),
                                QStringLiteral("DUPONT Ωmega")}) {
        SCOPED_TRACE(name.toStdString());
        FancierForm form = e.form;
        form[FancierBox::Name] = name;
        const QByteArray before = files();
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Ok);
        const FancierSave out = saveFancier(e, form, *dialogs);
        EXPECT_EQ(out.outcome, FancierSave::Refused);
        EXPECT_EQ(out.focus, FancierBox::Name);
        ASSERT_EQ(dialogs->messages().size(), 1);
        EXPECT_EQ(dialogs->messages()[0].buttons, MsgButtons::Ok);
        EXPECT_EQ(files(), before);
    }
    FancierForm form = e.form;
    form[FancierBox::Town] = QStringLiteral("Zürich ☺");
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Ok);
    EXPECT_EQ(saveFancier(e, form, *dialogs).focus, FancierBox::Town);
    EXPECT_TRUE(dialogs->messages()[0].text.contains("VILLE"));
}

TEST_F(EditorFixture, EmptyNameDeletesAfterAQuestion) {
    writeThree();
    const QString mise = chooseRaceWithStakes(3);
    FancierRecord martin = season().read(3);
    martin.setRaceAmount(101, 12500);
    season().write(3, martin);
    master().write(3, martin);
    const EditedFancier e = openFancier(3, 0);
    FancierForm form = e.form;
    form[FancierBox::Name] = "  ";

    const QByteArray before = files() + readBytes(mise);
    {
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::No);
        EXPECT_EQ(saveFancier(e, form, *dialogs).outcome, FancierSave::Refused);
        ASSERT_EQ(dialogs->messages().size(), 1);
        EXPECT_EQ(dialogs->messages()[0].text, "Supprimer l'amateur MARTIN Paul ?");
        EXPECT_EQ(dialogs->messages()[0].defaultButton, MsgAnswer::No);
        EXPECT_EQ(files() + readBytes(mise), before);
    }
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Yes);
    const FancierSave out = saveFancier(e, form, *dialogs);
    EXPECT_EQ(out.outcome, FancierSave::Deleted);
    EXPECT_TRUE(out.listLine.isEmpty());
    for (const QString& path : {session().FancierFilePath, session().MasterFancierPath}) {
        const QByteArray all = readBytes(path);
        ASSERT_EQ(all.size(), 3 * 3197);
        EXPECT_EQ(all.mid(6394), blankFancierRecord().bytes());
        EXPECT_EQ(all.left(3197), fancier("DUPONT Jean").bytes());
    }
    const QByteArray stakes = readBytes(mise);
    ASSERT_EQ(stakes.size(), 3 * 404);
    EXPECT_EQ(stakes.mid(808), QByteArray(404, '\0'));
    EXPECT_NE(stakes.mid(404, 404), QByteArray(404, '\0'));
}

TEST_F(EditorFixture, DeletionGrowsNoStakeFile) {
    writeThree();
    const QString mise = chooseRaceWithStakes(1);
    const EditedFancier e = openFancier(3, 0);
    FancierForm form = e.form;
    form[FancierBox::Name].clear();
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Yes);
    EXPECT_EQ(saveFancier(e, form, *dialogs).outcome, FancierSave::Deleted);
    EXPECT_EQ(readBytes(mise).size(), 404);
}

TEST_F(EditorFixture, SaveKeepsWhatTheEntrySheetWroteMeanwhile) {
    writeThree();
    const EditedFancier e = openFancier(1, 0);
    FancierRecord r = season().read(1);
    r.setRaceAmount(101, 4200);
    r.setLastSaveYear(" 2005");
    season().write(1, r);
    FancierForm form = e.form;
    form[FancierBox::Address] = "7 rue Neuve";
    ScriptedDialogsScope dialogs;
    ASSERT_EQ(saveFancier(e, form, *dialogs).outcome, FancierSave::Saved);
    for (const FancierRecord& w : {season().read(1), master().read(1)}) {
        EXPECT_EQ(w.raceAmount(101), 4200);
        EXPECT_EQ(w.lastSaveYear(), " 2005");
        EXPECT_EQ(trim(w.addressLine()), "7 rue Neuve");
    }
    EXPECT_EQ(trim(season().read(3).fancierName()), "MARTIN Paul");
}

TEST_F(EditorFixture, BoxesShowTheRecord) {
    writeThree();
    const EditedFancier e = openFancier(1, 0);
    EXPECT_EQ(e.nameAtLoad, "DUPONT Jean");
    EXPECT_EQ(e.form[FancierBox::Latitude], "503812");
    EXPECT_EQ(e.form[FancierBox::East], "30350");
    EXPECT_EQ(e.form[FancierBox::West], "");
    EXPECT_EQ(e.form[FancierBox::Town], "LILLE");
    EXPECT_EQ(e.form[FancierBox::Licence], "1234567");
    EXPECT_EQ(coordinateText(48.0506, false), "48,0506");
    EXPECT_EQ(coordinateText(0, false), "0");
}

// A damaged record's coordinates that no loft can have show as 0 (an empty longitude box),
// so the fancier saved as he opened is stored with those zeros and opens the same again.
TEST_F(EditorFixture, CoordinatesNoLoftCanHaveReadAsZero) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double lat, east, west;
        QString latBox, eastBox, westBox;
    };
    const Case cases[] = {
        {480506.5, 6.01347003643731e-154, 6.01347001699907e-154, "480506,5", "", ""},
        {nan, inf, 0, "0", "", ""},
        {-480506, 0, -31010, "0", "", ""},
        {900001, 1800000, 0, "0", "1800000", ""},
        {900000, 0, 1800000.5, "900000", "", ""},
        {503812, 0.001, 0, "503812", "0,001", ""},
        {503812, 0, 0.0009, "503812", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.latBox.toStdString() + " / " + c.eastBox.toStdString());
        writeThree();
        FancierRecord r = season().read(1);
        r.setLatitudeDms(c.lat);
        r.setLongitudeEastDms(c.east);
        r.setLongitudeWestDms(c.west);
        season().write(1, r);
        const EditedFancier e = openFancier(1, 0);
        EXPECT_EQ(e.form[FancierBox::Latitude], c.latBox);
        EXPECT_EQ(e.form[FancierBox::East], c.eastBox);
        EXPECT_EQ(e.form[FancierBox::West], c.westBox);
        ScriptedDialogsScope dialogs;
        EXPECT_EQ(saveFancier(e, e.form, *dialogs).outcome, FancierSave::Saved);
        EXPECT_TRUE(openFancier(1, 0).form == e.form);
    }
}
