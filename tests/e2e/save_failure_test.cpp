// Saves that cannot write: a full disk (the file-size limit set to 0, so that every write
// fails as on a full disk, for root as for anyone) and a read-only medium. Every save path
// of both programs reports a French message naming the file, never claims success, and
// leaves every file as it was. Then typed text the boxes must refuse: nothing is written.
#include "common/errors.h"
#include "common/record_file.h"
#include "common/session.h"
#include "entries/entry_save.h"
#include "entries/entry_sheet.h"
#include "entries/race_grids.h"
#include "entries/recap_store.h"
#include "entries/stake_sheet_editor.h"
#include "entries/stake_sheets.h"
#include "fanciers/fancier_editor.h"
#include "fanciers/fancier_list.h"
#include "fanciers/release_sites.h"
#include "fanciers/site_list.h"
#include "platform/scripted_dialogs.h"
#include "shell/calendar.h"
#include "shell/club.h"
#include "shell/race_export.h"
#include "shell/race_setup.h"
#include "shell/race_withdrawal.h"
#include "shell/season.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <csignal>
#include <cstdio>
#include <functional>
#include <memory>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace vt;
using vt::testing::ClubFixture;

namespace {

// Every write fails while it lives, as on a full disk.
class FullDisk {
public:
    FullDisk() {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit none = m_old;
        none.rlim_cur = 0;
        setrlimit(RLIMIT_FSIZE, &none);
    }
    ~FullDisk() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};

// A save path: `prepare` readies the save (files read, windows filled, questions scripted)
// and returns the save itself, which gives the message it reported; an empty message means
// the save claimed success.
struct SavePath {
    const char* name;
    const char* file; // the name the message must carry
    std::function<std::function<QString()>(ClubFixture&)> prepare;
};

QString messageOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

QString lastMessage(const ScriptedDialogs& d) {
    return d.messages().isEmpty() ? QString() : d.messages().last().text;
}

ReleaseSiteRecord site(const QString& name, double latitude) {
    ReleaseSiteRecord r;
    r.setSiteName(name);
    r.setLatitudeDms(latitude);
    return r;
}

// A save reported through dialogs: its last message when it did not succeed.
QString failureShown(bool succeeded, const ScriptedDialogs& dialogs) {
    return succeeded ? QString() : lastMessage(dialogs);
}

// Dialogs that answer, in order, the questions a save asks before it writes.
std::shared_ptr<ScriptedDialogs> answering(std::initializer_list<MsgAnswer> answers) {
    auto d = std::make_shared<ScriptedDialogs>();
    for (MsgAnswer a : answers)
        d->answer(a);
    return d;
}

const QList<SavePath>& savePaths() {
    static const QList<SavePath> paths = {
        {"release-site list (Vorel and Tarvio)", "distgen",
         [](ClubFixture&) {
             return [] {
                 return messageOf([] {
                     SiteList({site(QStringLiteral("NOUVEAU"), 470000)})
                         .save(session().GeneralSitesPath);
                 });
             };
         }},
        {"general site editor", "distgen",
         [](ClubFixture&) {
             return [] {
                 return messageOf([] {
                     GeneralSiteEditor editor = GeneralSiteEditor::load(session().GeneralSitesPath);
                     ScriptedDialogs dialogs;
                     editor.store({QStringLiteral("NOUVEAU"), QStringLiteral("470000"), QString(),
                                   QString()},
                                  dialogs);
                     editor.save(session().GeneralSitesPath, session().LocalSitesPath);
                 });
             };
         }},
        {"local release sites", "distloc",
         [](ClubFixture&) {
             auto choice = std::make_shared<LocalSiteChoice>(
                 LocalSiteChoice::load(session().GeneralSitesPath, session().LocalSitesPath));
             choice->selectAll();
             return [choice] { return messageOf([&] { choice->save(session().LocalSitesPath); }); };
         }},
        {"stake sheet name", "fichenl.jeu",
         [](ClubFixture& club) {
             return [&club] {
                 return messageOf([&] {
                     storeSheetName(club.path(QStringLiteral("fichenl.jeu")), 7,
                                    QStringLiteral("NOUVELLE"));
                 });
             };
         }},
        {"stake sheet names mended at opening", "fichenl.jeu",
         [](ClubFixture& club) {
             storeSheetName(club.path(QStringLiteral("fichenl.jeu")), 2,
                            QStringLiteral("C:\\JEUX\\GR2.JEU"));
             return [&club] {
                 return messageOf(
                     [&] { loadSheetNames(club.path(QStringLiteral("fichenl.jeu"))); });
             };
         }},
        {"stake sheet lines", "gr1.jeu",
         [](ClubFixture& club) {
             return [&club] {
                 return messageOf([&] {
                     const SheetRecords built =
                         buildSheetRecords({{QStringLiteral("MISE1   AS"), QStringLiteral("1,50"),
                                             QStringLiteral("2"), QString()}});
                     RecordFileOf<StakeTypeRecord>(sheetFilePath(club.dataFolder(), 1))
                         .rewrite(built.records);
                 });
             };
         }},
        {"stake sheet editor", "gr1.jeu",
         [](ClubFixture& club) {
             auto dialogs = answering({MsgAnswer::Ok});
             auto editor = std::make_shared<StakeSheetEditor>(
                 club.dataFolder(), club.path(QStringLiteral("fichenl.jeu")), *dialogs);
             editor->load();
             editor->selectSlot(1);
             editor->labelBoxEdited(QStringLiteral("MISE2   AS")); // the first line renamed
             return [dialogs, editor] { return failureShown(editor->save(), *dialogs); };
         }},
        {"calendar race", "gr1.cal",
         [](ClubFixture& club) {
             return [&club] {
                 return messageOf([&] {
                     storeCalendarRace(club.yearPath(QStringLiteral("gr1.cal")),
                                       session().LocalSitesPath,
                                       {5, 1, QStringLiteral("ORLEANS"), 12, 5, club.year(), 0});
                 });
             };
         }},
        {"race withdrawal", "gr1.cal",
         [](ClubFixture& club) {
             return [&club] {
                 auto dialogs = answering({MsgAnswer::Yes});
                 return messageOf([&] {
                     withdrawRace(*dialogs, club.yearPath(QStringLiteral("gr1.cal")),
                                  club.yearFolder(), 1, QStringLiteral("  1  ORLEANS"));
                 });
             };
         }},
        {"race base", "bases.101",
         [](ClubFixture& club) {
             return [&club] {
                 return messageOf([&] {
                     writeRaceBase(club.yearPath(QStringLiteral("gr1.cal")), club.yearFolder(), 1,
                                   0);
                 });
             };
         }},
        {"race set-up", "basejeu.105",
         [](ClubFixture&) {
             // Sheet 1 replaces the race's lines; fancier 1 has entries, so the change is asked.
             auto dialogs = answering({MsgAnswer::Yes, MsgAnswer::Ok});
             dialogs->answerInput(QStringLiteral("1")); // when the sheets are offered
             CalendarRaceRecord race;
             race.setSiteName(QStringLiteral("ORLEANS"));
             return [dialogs, race] {
                 return failureShown(
                     setupRace(*dialogs, RaceSetupPaths::fromSession(session()), 5, 0, race).added,
                     *dialogs);
             };
         }},
        {"race export", "export",
         [](ClubFixture& club) {
             auto dialogs = answering({MsgAnswer::No});
             return [dialogs, &club] {
                 const ExportResult r =
                     exportRace(*dialogs, 105, club.yearFolder(), session().FancierFilePath,
                                QDir(club.startDir()).filePath(QStringLiteral("export")));
                 const AskedQuestion* last =
                     dialogs->asked().isEmpty() ? nullptr : &dialogs->asked().last();
                 return r.outcome == ExportOutcome::Written || !last
                            ? QString()
                            : last->message.title + u' ' + last->message.text;
             };
         }},
        {"season opening", "2006",
         [](ClubFixture&) { return [] { return messageOf([] { openYear(session(), 2006); }); }; }},
        {"club", "societe.nom",
         [](ClubFixture&) {
             return [] {
                 return messageOf([] {
                     ClubTexts t{QStringLiteral("NOUVEAU CLUB"),
                                 QStringLiteral("59999"),
                                 QStringLiteral("3"),
                                 QString(),
                                 QString(),
                                 QString(),
                                 QString(),
                                 QString()};
                     saveClub(session(), t);
                 });
             };
         }},
        {"fancier address", "noms.vba",
         [](ClubFixture&) {
             auto dialogs = answering({MsgAnswer::Ok, MsgAnswer::Ok});
             const EditedFancier e = openFancier(1, 1);
             return [dialogs, e] {
                 FancierForm form = e.form;
                 form[FancierBox::Town] = QStringLiteral("ROUBAIX");
                 const FancierSave out = saveFancier(e, form, *dialogs);
                 return out.outcome == FancierSave::Failed ? lastMessage(*dialogs) : QString();
             };
         }},
        {"fancier deleted in the address editor", "mise.105",
         [](ClubFixture&) {
             auto dialogs = answering({MsgAnswer::Yes, MsgAnswer::Ok});
             const EditedFancier e = openFancier(1, 1);
             return [dialogs, e] {
                 FancierForm form = e.form;
                 form[FancierBox::Name] = QString();
                 const FancierSave out = saveFancier(e, form, *dialogs);
                 return out.outcome == FancierSave::Failed ? lastMessage(*dialogs) : QString();
             };
         }},
        {"new fancier claimed by the address editor", "noms.vba",
         [](ClubFixture&) { return [] { return messageOf([] { openFancier(0, 1); }); }; }},
        {"new fancier claimed by the entry sheet", "noms.vba",
         [](ClubFixture&) { return [] { return openEntrySheet(0).error; }; }},
        {"entry sheet club choice", "noms.vba",
         [](ClubFixture&) { return [] { return messageOf([] { storeClubNumber(1, 2); }); }; }},
        {"fanciers list mended at loading", "noms.vba",
         [](ClubFixture&) { return [] { return loadFancierList(ListMode::All, 1).error; }; }},
        {"fanciers list MEMO", "noms.vbar",
         [](ClubFixture&) {
             QStringList lines;
             const RecordFileOf<FancierRecord> season(session().FancierFilePath);
             for (int n = 1; n <= 4; ++n)
                 lines << fancierListItem(season.read(n), n);
             return [lines] { return messageOf([&] { writeMemoFile(lines); }); };
         }},
        {"recap list mended at loading", "noms.vba",
         [](ClubFixture&) { return [] { return loadRecapList().error; }; }},
        {"entry sheet across the chosen races", "noms.vba",
         [](ClubFixture& club) {
             const EntrySheetOpening o = openEntrySheet(1);
             EntrySaveInput input{o.recordNo, o.clubNo, o.boxes, o.boxes.name};
             input.boxes.town = QStringLiteral("ROUBAIX");
             auto grids = std::make_shared<RaceGrids>();
             grids->load(club.yearFolder(), session().ChosenRaceCodes, 1);
             for (int tab = 1; tab <= grids->count(); ++tab) {
                 grids->grid(tab).beginEdit(1);
                 grids->grid(tab).applyEdit(QStringLiteral("4"));
             }
             grids->commitAll();
             auto dialogs = answering({MsgAnswer::Ok});
             return [dialogs, grids, input] {
                 return failureShown(saveEntrySheet(input, *grids, *dialogs).saved, *dialogs);
             };
         }},
        {"race recaps", "recap.105",
         [](ClubFixture&) {
             auto dialogs = answering({MsgAnswer::Yes, MsgAnswer::Ok});
             return
                 [dialogs] { return failureShown(storeRaceRecaps(*dialogs, session()), *dialogs); };
         }},
    };
    return paths;
}

// The small club with a stake sheet, two chosen races, and a fancier the loaders mend.
struct TestClub {
    ClubFixture club;
    TestClub() {
        club.writeSmallClub();
        club.writeStakeSheet(1, QStringLiteral("GR1"),
                             {{QStringLiteral("MISE1"), QStringLiteral("AS"), 1.5f, 0}});
        // A fourth fancier whose status flag the list loaders mend.
        const int mended = club.addFancier(vt::testing::namedFancier(QStringLiteral("ZOLA Emile")));
        RecordFileOf<FancierRecord> season(club.yearPath(QStringLiteral("noms.vba")));
        FancierRecord r = season.read(mended);
        r.setStatusFlag(5);
        r.setLastSaveYear(QStringLiteral(" 2005"));
        season.write(mended, r);
        // Two chosen races; fancier 1 has entries in the first.
        using vt::testing::stakeLineSpec;
        const QList<vt::testing::StakeLineSpec> lines{
            stakeLineSpec(QStringLiteral("Mise     Mise"), 1),
            stakeLineSpec(QStringLiteral("TOTAL du jeu ")),
            stakeLineSpec(QStringLiteral("FRAIS    frai"), 0.5f),
            stakeLineSpec(QStringLiteral("S/total  s/to"))};
        club.writeRaceFiles({105,
                             QStringLiteral("ORLEANS"),
                             0,
                             QStringLiteral("12 mai 2005"),
                             lines,
                             {{2, 2}, {}, {}, {}}});
        club.writeRaceFiles({212,
                             QStringLiteral("BORDEAUX"),
                             1,
                             QStringLiteral("26 juin 2005"),
                             lines,
                             {{}, {}, {}, {}}});
        ensureFolder(QDir(club.startDir()).filePath(QStringLiteral("export")));
        Session& s = club.configureSession();
        ClubFixture::chooseRaces(s, {105, 212});
    }
    // Every file under the start folder, by path.
    QMap<QString, QByteArray> files() const {
        QMap<QString, QByteArray> out;
        QDirIterator it(club.startDir(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString p = it.next();
            QFile f(p);
            out[p] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
        }
        return out;
    }
    // The files made, removed or changed between two looks.
    static QStringList changedFiles(const QMap<QString, QByteArray>& before,
                                    const QMap<QString, QByteArray>& after) {
        QStringList out;
        for (auto [path, bytes] : before.asKeyValueRange())
            if (after.value(path, QByteArray("<missing>")) != bytes)
                out << path;
        for (const QString& path : after.keys())
            if (!before.contains(path))
                out << path;
        return out;
    }
    // Every folder and file under the start folder made read-only, or writable again.
    void setReadOnly(bool readOnly) const {
        QDirIterator it(club.startDir(),
                        QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        QStringList paths{club.startDir()};
        while (it.hasNext())
            paths << it.next();
        for (const QString& p : paths) {
            const bool folder = QFileInfo(p).isDir();
            chmod(QFile::encodeName(p).constData(),
                  readOnly ? (folder ? 0555 : 0444) : (folder ? 0755 : 0644));
        }
    }
};

struct SaveFailure : ::testing::Test, TestClub {
    // Runs every save path with `blocked` in force; each must report a message naming its
    // file and leave every file as it was.
    void expectEveryPathFails(const std::function<void(const std::function<void()>&)>& blocked) {
        for (const SavePath& path : savePaths()) {
            SCOPED_TRACE(path.name);
            QString message;
            try {
                const std::function<QString()> save = path.prepare(club);
                const QMap<QString, QByteArray> before = files();
                blocked([&] { message = save(); });
                const QStringList changed = changedFiles(before, files());
                EXPECT_TRUE(changed.isEmpty()) << "changed: " << changed.join(u' ').toStdString();
            } catch (const std::exception& e) {
                ADD_FAILURE() << "unexpected: " << e.what();
            }
            EXPECT_TRUE(message.contains(QLatin1String(path.file), Qt::CaseInsensitive))
                << message.toStdString();
        }
    }
};

} // namespace

TEST_F(SaveFailure, FullDiskLeavesEveryFileAsItWas) {
    expectEveryPathFails([](const std::function<void()>& save) {
        FullDisk full;
        save();
    });
}

// A read-only medium: folders and files that cannot be written. The superuser writes them
// anyway, so the test then runs in a child process under the unprivileged "nobody".
TEST_F(SaveFailure, ReadOnlyFolderLeavesEveryFileAsItWas) {
    const auto readOnly = [this](const std::function<void()>& save) {
        setReadOnly(true);
        save();
        setReadOnly(false);
    };
    if (geteuid() != 0) {
        expectEveryPathFails(readOnly);
        return;
    }
    constexpr uid_t nobody = 65534;
    QDirIterator it(club.startDir(), QDir::Files | QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    QStringList paths{club.startDir()};
    while (it.hasNext())
        paths << it.next();
    for (const QString& p : paths)
        ASSERT_EQ(chown(QFile::encodeName(p).constData(), nobody, nobody), 0);
    std::fflush(nullptr);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    constexpr int cannotRunAsNobody = 3;
    if (child == 0) {
        // Where the user cannot be changed, or cannot reach the temporary folder, the test
        // cannot run here.
        if (setgid(nobody) != 0 || setuid(nobody) != 0 ||
            access(QFile::encodeName(club.path(QStringLiteral("noms.vba"))).constData(),
                   R_OK | W_OK) != 0)
            _exit(cannotRunAsNobody);
        expectEveryPathFails(readOnly);
        std::fflush(nullptr);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == cannotRunAsNobody)
        GTEST_SKIP() << "running as root, and the unprivileged user cannot run the test here";
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "the read-only saves failed in the child (its output is above)";
}

// With nothing in the way, every save path above writes and claims success: the failures
// above are those of real writes.
TEST(SavePaths, WriteWhenNothingStopsThem) {
    for (const SavePath& path : savePaths()) {
        SCOPED_TRACE(path.name);
        const TestClub t;
        try {
            const std::function<QString()> save = path.prepare(const_cast<ClubFixture&>(t.club));
            const QMap<QString, QByteArray> before = t.files();
            EXPECT_EQ(save(), QString());
            EXPECT_FALSE(TestClub::changedFiles(before, t.files()).isEmpty());
        } catch (const std::exception& e) {
            ADD_FAILURE() << "unexpected: " << e.what();
        }
    }
}

// A disk that fills half-way: for every save path, each of its writes in turn fails. The
// message names the file that failed, and every file the save changed before it is named
// as written: nothing changes unsaid.
TEST(SavePaths, AWriteThatFailsHalfWayLeavesOnlyWhatTheMessageSaysWasWritten) {
    struct Restore {
        ~Restore() { RecordFile::writeFailureForTests = nullptr; }
    } restore;
    for (const SavePath& path : savePaths()) {
        SCOPED_TRACE(path.name);
        int writes = 0;
        {
            const TestClub t;
            const std::function<QString()> save = path.prepare(const_cast<ClubFixture&>(t.club));
            RecordFile::writeFailureForTests = [&](const QString&) { return ++writes, false; };
            save();
            RecordFile::writeFailureForTests = nullptr;
        }
        for (int k = 1; k <= writes; ++k) {
            SCOPED_TRACE(k);
            const TestClub t;
            try {
                const std::function<QString()> save =
                    path.prepare(const_cast<ClubFixture&>(t.club));
                const QMap<QString, QByteArray> before = t.files();
                int n = 0;
                QString failedPath;
                RecordFile::writeFailureForTests = [&](const QString& p) {
                    if (++n != k)
                        return false;
                    failedPath = p;
                    return true;
                };
                const QString message = save();
                RecordFile::writeFailureForTests = nullptr;
                EXPECT_TRUE(message.contains(failedPath)) << message.toStdString();
                for (const QString& changed : TestClub::changedFiles(before, t.files()))
                    EXPECT_TRUE(message.contains(changed))
                        << changed.toStdString() << " changed, unsaid: " << message.toStdString();
            } catch (const std::exception& e) {
                ADD_FAILURE() << "unexpected: " << e.what();
            }
        }
    }
}

// Typed text the release-site boxes must refuse, each naming its box.
TEST(TypedInput, SiteBoxesRefuseWhatIsNotTheirs) {
    const struct {
        TypedSite typed;
        SiteBox box;
    } cases[] = {
        {{QStringLiteral("ORLÉANS Ω"), QStringLiteral("475413"), {}, {}}, SiteBox::Name},
        {{QStringLiteral("ARRAS"), QStringLiteral("48abc"), {}, {}}, SiteBox::Latitude},
        {{QStringLiteral("ARRAS"), QStringLiteral("1e3"), {}, {}}, SiteBox::Latitude},
        {{QStringLiteral("ARRAS"), QStringLiteral("48,05,06"), {}, {}}, SiteBox::Latitude},
        {{QStringLiteral("ARRAS"), QStringLiteral("501728"), QStringLiteral("-5"), {}},
         SiteBox::East},
        {{QStringLiteral("ARRAS"), QStringLiteral("501728"), QStringLiteral("+-5"), {}},
         SiteBox::East},
        {{QStringLiteral("ARRAS"), QStringLiteral("501728"), {}, QStringLiteral("3 436")},
         SiteBox::West},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.name.toStdString() + " / " + c.typed.latitude.toStdString());
        const SiteEntry e = readSiteBoxes(c.typed);
        EXPECT_EQ(e.kind, SiteEntry::Refused);
        EXPECT_EQ(e.box, c.box);
        EXPECT_FALSE(e.message.isEmpty());
    }
}

TEST_F(SaveFailure, TypedTextOutsideTheirFieldsWritesNothing) {
    const QMap<QString, QByteArray> before = files();
    // A sheet name with a character Windows-1252 cannot hold.
    EXPECT_THROW(
        storeSheetName(club.path(QStringLiteral("fichenl.jeu")), 1, QStringLiteral("GROUPE Ω")),
        EncodingError);
    // The address editor: a name or a town outside Windows-1252, a latitude of letters or
    // too large for its field.
    const struct {
        FancierBox box;
        QString text;
    } cases[] = {
        {FancierBox::Name, QStringLiteral("DUPONT Ω")},
        {FancierBox::Town, QStringLiteral("LILLE Ω")},
        {FancierBox::Latitude, QStringLiteral("50a3812")},
        {FancierBox::Latitude, QStringLiteral("-503812")},
        {FancierBox::Latitude, QStringLiteral("1e300")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        ScriptedDialogs dialogs;
        dialogs.answer(MsgAnswer::Ok);
        const EditedFancier e = openFancier(1, 1);
        FancierForm form = e.form;
        form[c.box] = c.text;
        const FancierSave out = saveFancier(e, form, dialogs);
        EXPECT_EQ(out.outcome, FancierSave::Refused);
        EXPECT_EQ(out.focus, c.box);
        EXPECT_FALSE(lastMessage(dialogs).isEmpty());
    }
    EXPECT_EQ(files(), before);
}
