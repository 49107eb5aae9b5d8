#include "fanciers/release_sites.h"

#include "common/errors.h"
#include "common/record_file.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "tests/support/club_fixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace vt;
using vt::testing::ClubFixture;
using vt::testing::readBytes;
using vt::testing::siteRecord;
using vt::testing::SiteSpec;

namespace {

QList<ReleaseSiteRecord> readSites(const QString& path) {
    return RecordFileOf<ReleaseSiteRecord>(path).readAll();
}

struct Sites : ::testing::Test {
    ClubFixture f;
    QString general() const { return QDir(f.startDir()).filePath("distgen"); }
    QString local() const { return f.path("distloc"); }
    GeneralSiteEditor editor() const { return GeneralSiteEditor::load(general()); }
};

QStringList texts(const RecordedPage& page) {
    QStringList out;
    for (const RecordedText& t : page.texts)
        out.append(t.text);
    return out;
}

} // namespace

// distloc [BETA, arras, ARRAS, arras]: "arras" modified in the general editor carries its
// new coordinates into distloc record 2, the first of its name, in place; other names
// (BETA, "ARRAS" in another case) and a second "arras" stay.
TEST_F(Sites, ModifiedCoordinatesFollowIntoTheLocalFileByExactName) {
    f.addGeneralSite({"arras", 501700, 24600, 0});
    f.addGeneralSite({"BETA", 480000, 20000, 0});
    f.addLocalSite({"BETA", 480000, 20000, 0});
    f.addLocalSite({"arras", 501700, 24600, 0});
    f.addLocalSite({"ARRAS", 501700, 24600, 0});
    f.addLocalSite({"arras", 501700, 24600, 0});
    const QByteArray beta = readBytes(local()).left(49);
    const QByteArray otherCase = readBytes(local()).mid(98, 49);
    const QByteArray secondArras = readBytes(local()).mid(147, 49);

    ScriptedDialogsScope dialogs;
    GeneralSiteEditor e = editor();
    const TypedSite typed = e.takeOut(0);
    EXPECT_EQ(typed.name, QStringLiteral("arras"));
    EXPECT_EQ(typed.latitude, QStringLiteral("501700"));
    EXPECT_EQ(typed.west, QStringLiteral("0"));
    const auto out = e.store({"arras", "501728", "24650", ""}, *dialogs);
    EXPECT_EQ(out.result, GeneralSiteEditor::StoreResult::Stored);
    e.save(general(), local());

    const QList<ReleaseSiteRecord> loc = readSites(local());
    ASSERT_EQ(loc.size(), 4);
    EXPECT_EQ(loc[1], siteRecord({"arras", 501728, 24650, 0}));
    EXPECT_EQ(loc[0].bytes(), beta);
    EXPECT_EQ(loc[2].bytes(), otherCase);
    EXPECT_EQ(loc[3].bytes(), secondArras);
    EXPECT_TRUE(dialogs->asked().isEmpty());
}

TEST_F(Sites, RenamedOrDeletedSitesLeaveTheLocalFileAlone) {
    f.addGeneralSite({"arras", 501700, 24600, 0});
    f.addGeneralSite({"TOURS", 472338, 4122, 0});
    f.addLocalSite({"arras", 501700, 24600, 0});
    f.addLocalSite({"TOURS", 472338, 4122, 0});
    const QByteArray localBefore = readBytes(local());

    ScriptedDialogsScope dialogs;
    GeneralSiteEditor e = editor();
    e.takeOut(0);
    e.store({"Arras Centre", "501728", "24650", ""}, *dialogs); // renamed
    e.takeOut(e.sites().indexOfName("TOURS"));
    EXPECT_EQ(e.store({"", "", "", ""}, *dialogs).result,
              GeneralSiteEditor::StoreResult::NothingStored); // deleted
    e.save(general(), local());

    EXPECT_EQ(readBytes(local()), localBefore);
    const QList<ReleaseSiteRecord> gen = readSites(general());
    ASSERT_EQ(gen.size(), 1);
    EXPECT_EQ(gen[0], siteRecord({"Arras Centre", 501728, 24650, 0}));
}

TEST_F(Sites, FourDecimalCoordinateSurvivesTheEditor) {
    ScriptedDialogsScope dialogs;
    GeneralSiteEditor e = editor();
    e.store({"Arras", "480506.1234", "22000,5", ""}, *dialogs);
    EXPECT_EQ(e.sites().items().at(0).mid(25, 10), QStringLiteral("480506.123"));
    e.save(general(), local());
    GeneralSiteEditor again = editor();
    EXPECT_EQ(again.sites().at(0).latitudeDms(), 480506.1234);
    const TypedSite typed = again.takeOut(0);
    EXPECT_EQ(typed.latitude, QStringLiteral("480506,1234"));
    EXPECT_EQ(typed.east, QStringLiteral("22000,5"));
    again.save(general(), local());
    EXPECT_EQ(readSites(general()).at(0).latitudeDms(), 480506.1234);
}

TEST_F(Sites, DuplicateNameAsksBeforeItIsStored) {
    f.addGeneralSite({"ARRAS", 501728, 24650, 0});
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::No).answer(MsgAnswer::Yes);
    GeneralSiteEditor e = editor();
    EXPECT_TRUE(e.nameExists("  arras "));
    EXPECT_FALSE(e.nameExists("Tours"));

    const auto no = e.store({" arras", "501700", "24600", ""}, *dialogs);
    EXPECT_EQ(no.result, GeneralSiteEditor::StoreResult::Declined);
    EXPECT_EQ(no.focus, SiteBox::Name);
    EXPECT_EQ(e.sites().size(), 1);
    const auto yes = e.store({"arras", "501700", "24600", ""}, *dialogs);
    EXPECT_EQ(yes.result, GeneralSiteEditor::StoreResult::Stored);
    EXPECT_EQ(e.sites().size(), 2);

    const QList<MessageRequest> asked = dialogs->messages();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0].text,
              QStringLiteral("Le lieu de lâcher arras existe déjà. Le mémoriser quand même ?"));
    EXPECT_EQ(asked[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(asked[0].defaultButton, MsgAnswer::No);
}

TEST_F(Sites, RefusedBoxesStoreNothingAndBothLongitudesKeepEast) {
    ScriptedDialogsScope dialogs;
    dialogs->answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
    GeneralSiteEditor e = editor();
    const auto refused = e.store({"Arras", "48a", "", ""}, *dialogs);
    EXPECT_EQ(refused.result, GeneralSiteEditor::StoreResult::Refused);
    EXPECT_EQ(refused.focus, SiteBox::Latitude);
    EXPECT_TRUE(e.sites().isEmpty());
    EXPECT_FALSE(e.isModified());

    const auto both = e.store({"Arras", "501728", "24650", "13310"}, *dialogs);
    EXPECT_EQ(both.result, GeneralSiteEditor::StoreResult::Stored);
    EXPECT_EQ(e.sites().at(0), siteRecord({"Arras", 501728, 24650, 0}));
    const QList<MessageRequest> asked = dialogs->messages();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_TRUE(asked[0].text.contains(QStringLiteral("LATITUDE")));
    EXPECT_EQ(asked[1].text, bothLongitudesWarning());
}

TEST_F(Sites, SavingWithASiteTakenOutPutsItBackAsItWas) {
    f.addGeneralSite({"ARRAS", 501728, 24650, 0});
    f.addGeneralSite({"TOURS", 472338, 4122, 0});
    const QByteArray before = readBytes(general());
    GeneralSiteEditor e = editor();
    e.takeOut(1);
    EXPECT_TRUE(e.hasTakenOut());
    e.save(general(), local());
    EXPECT_EQ(readBytes(general()), before);
    EXPECT_TRUE(QFile::exists(local()));
}

TEST_F(Sites, SaveAnnouncesTheSavedSites) {
    f.addGeneralSite({"ARRAS", 501728, 24650, 0});
    QList<ReleaseSiteRecord> announced;
    auto c = QObject::connect(&siteFiles(), &SiteFiles::generalSitesSaved,
                              [&](const QList<ReleaseSiteRecord>& s) { announced = s; });
    GeneralSiteEditor e = editor();
    e.save(general(), local());
    QObject::disconnect(c);
    EXPECT_EQ(announced, readSites(general()));
}

TEST_F(Sites, PrintedGeneralList) {
    f.addGeneralSite({"TOURS", 472338, 4122, 0});
    f.addGeneralSite({"ARRAS", 501728, 24650, 0});
    RecordingSurface surface;
    EXPECT_TRUE(GeneralSiteEditor().print(surface).nothing()); // empty list: nothing
    EXPECT_TRUE(surface.documents().isEmpty());

    editor().print(surface);
    ASSERT_EQ(surface.documents().size(), 1);
    ASSERT_EQ(surface.pages().size(), 1);
    const RecordedPage& page = surface.pages().at(0);
    EXPECT_EQ(texts(page),
              (QStringList{"Liste des LIEUX de LACHER du FICHIER GENERAL",
                           QString(29, ' ') + "Latitudes   Longitudes ",
                           QString(40, ' ') + "EST    OUEST",
                           "  1 ARRAS                        501728     24650         0",
                           "  2 TOURS                        472338      4122         0"}));
    const RecordedText& title = page.texts.at(0);
    EXPECT_DOUBLE_EQ(title.x, 10);
    EXPECT_DOUBLE_EQ(title.y, 5);
    EXPECT_EQ(title.fontName, QStringLiteral("COURIER New"));
    EXPECT_TRUE(title.bold);
    EXPECT_DOUBLE_EQ(page.texts.at(1).x, 0);
    EXPECT_NEAR(page.texts.at(1).y - title.y, 2 * 4.796, 0.01); // after the empty line
}

// ---- local choice ------------------------------------------------------------------

// distgen [A, B, C], distloc [C]: C comes up ticked; ticking A rebuilds distloc as
// distgen's records 1 and 3, byte for byte.
TEST_F(Sites, TickedSitesRebuildTheLocalFile) {
    f.addGeneralSite({"ABBEVILLE", 500600, 15000, 0});
    f.addGeneralSite({"BORDEAUX", 445017, 0, 3436});
    f.addGeneralSite({"CAHORS", 442651, 12629, 0});
    f.addLocalSite({"CAHORS", 442600, 12600, 0}); // older coordinates
    LocalSiteChoice c = LocalSiteChoice::load(general(), local());
    ASSERT_EQ(c.size(), 3);
    EXPECT_EQ(c.itemText(0), QStringLiteral("ABBEVILLE             "));
    EXPECT_FALSE(c.isTicked(0));
    EXPECT_FALSE(c.isTicked(1));
    EXPECT_TRUE(c.isTicked(2));
    EXPECT_FALSE(c.isModified());

    c.setTicked(0, true);
    EXPECT_TRUE(c.isModified());
    c.save(local());
    const QByteArray gen = readBytes(general());
    EXPECT_EQ(readBytes(local()), gen.left(49) + gen.mid(98, 49));

    RecordingSurface surface;
    c.print(surface);
    ASSERT_EQ(surface.pages().size(), 1);
    EXPECT_EQ(texts(surface.pages().at(0)),
              (QStringList{"Liste des LIEUX de LACHER du fichier local", "ABBEVILLE             ",
                           "CAHORS                "}));
    EXPECT_DOUBLE_EQ(surface.pages().at(0).texts.at(0).x, 1);
    EXPECT_DOUBLE_EQ(surface.pages().at(0).texts.at(0).y, 1);
}

TEST_F(Sites, NamesAreComparedWholeNotOnTheirFirst22Characters) {
    f.addGeneralSite({"SAINT GERMAIN EN LAYE A", 485350, 20540, 0}); // 23 characters
    f.addGeneralSite({"SAINT GERMAIN EN LAYE B", 485351, 20541, 0});
    f.addLocalSite({"SAINT GERMAIN EN LAYE B", 485351, 20541, 0});
    LocalSiteChoice c = LocalSiteChoice::load(general(), local());
    ASSERT_EQ(c.size(), 2);
    EXPECT_EQ(c.itemText(0), c.itemText(1)); // the items look alike
    EXPECT_FALSE(c.isTicked(0));
    EXPECT_TRUE(c.isTicked(1));
    const QByteArray before = readBytes(local());
    c.save(local());
    EXPECT_EQ(readBytes(local()), before);
}

TEST_F(Sites, SelectAllSkipsBlankSitesAndNothingTickedLeavesAnEmptyFile) {
    f.addGeneralSite({"ARRAS", 501728, 24650, 0});
    f.addGeneralSite({"", 0, 0, 0});
    f.addGeneralSite({"TOURS", 472338, 4122, 0});
    f.addLocalSite({"GONE", 480000, 20000, 0}); // no longer in distgen
    LocalSiteChoice c = LocalSiteChoice::load(general(), local());
    ASSERT_EQ(c.size(), 2);
    c.selectAll();
    c.save(local());
    const QByteArray gen = readBytes(general());
    EXPECT_EQ(readBytes(local()), gen.left(49) + gen.mid(98, 49));

    c.clearAll();
    c.save(local());
    EXPECT_TRUE(QFile::exists(local()));
    EXPECT_EQ(readBytes(local()).size(), 0);
}

TEST_F(Sites, MissingFilesAndEmptyGeneralFile) {
    LocalSiteChoice c = LocalSiteChoice::load(general(), local());
    EXPECT_EQ(c.size(), 0);
    EXPECT_TRUE(QFile::exists(local()));
    RecordingSurface surface;
    EXPECT_TRUE(c.print(surface).nothing());
    EXPECT_TRUE(surface.documents().isEmpty());
    c.save(local());
    EXPECT_EQ(readBytes(local()).size(), 0);
}

TEST_F(Sites, GeneralSaveWhileChoosingKeepsTicksByName) {
    f.addGeneralSite({"ARRAS", 501700, 24600, 0});
    f.addGeneralSite({"TOURS", 472338, 4122, 0});
    LocalSiteChoice c = LocalSiteChoice::load(general(), local());
    c.setTicked(0, true);
    const QList<ReleaseSiteRecord> saved = {siteRecord({"ABBEVILLE", 500600, 15000, 0}),
                                            siteRecord({"ARRAS", 501728, 24650, 0}),
                                            siteRecord({"TOURS", 472338, 4122, 0})};
    c.replaceGeneralSites(saved);
    ASSERT_EQ(c.size(), 3);
    EXPECT_FALSE(c.isTicked(0));
    EXPECT_TRUE(c.isTicked(1));
    EXPECT_FALSE(c.isTicked(2));
    c.save(local());
    EXPECT_EQ(readSites(local()), QList<ReleaseSiteRecord>{saved[1]});
}

TEST_F(Sites, FailedLocalRewriteKeepsTheOldFile) {
    f.addGeneralSite({"ARRAS", 501728, 24650, 0});
    f.addGeneralSite({"TOURS", 472338, 4122, 0});
    f.addLocalSite({"TOURS", 472338, 4122, 0});
    const QByteArray before = readBytes(local());
    LocalSiteChoice c = LocalSiteChoice::load(general(), local());
    c.selectAll();
    RecordFile::rewriteFailureForTests = [](int index) { return index == 1; };
    EXPECT_THROW(c.save(local()), FileError);
    RecordFile::rewriteFailureForTests = nullptr;
    EXPECT_EQ(readBytes(local()), before);
    EXPECT_TRUE(c.isModified());
}
