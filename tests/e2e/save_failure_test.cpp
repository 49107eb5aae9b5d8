// Saves that cannot write: a full disk (the file-size limit set to 0, so that every write
// fails as on a full disk, for root as for anyone) and a read-only folder. Every save path
// reports a French message naming the file and leaves every file as it was. Then typed
// text the boxes must refuse: nothing is written.
#include "common/errors.h"
#include "common/record_file.h"
#include "common/session.h"
#include "entries/stake_sheets.h"
#include "fanciers/fancier_editor.h"
#include "fanciers/release_sites.h"
#include "fanciers/site_list.h"
#include "platform/scripted_dialogs.h"
#include "shell/calendar.h"
#include "shell/club.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/stat.h>
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

// A save path: runs the save and returns the message it reported (empty when it claimed
// success).
struct SavePath {
    const char* name;
    const char* file; // the name the message must carry
    std::function<QString(ClubFixture&)> save;
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

const QList<SavePath>& savePaths() {
    static const QList<SavePath> paths = {
        {"release-site list", "distgen",
         [](ClubFixture&) {
             return messageOf([] {
                 SiteList({site(QStringLiteral("NOUVEAU"), 470000)}).save(session().GeneralSitesPath);
             });
         }},
        {"general site editor", "distgen",
         [](ClubFixture&) {
             return messageOf([] {
                 GeneralSiteEditor editor = GeneralSiteEditor::load(session().GeneralSitesPath);
                 ScriptedDialogs dialogs;
                 editor.store({QStringLiteral("NOUVEAU"), QStringLiteral("470000"), QString(), QString()},
                              dialogs);
                 editor.save(session().GeneralSitesPath, session().LocalSitesPath);
             });
         }},
        {"stake sheet name", "fichenl.jeu",
         [](ClubFixture& club) {
             return messageOf([&] {
                 storeSheetName(club.path(QStringLiteral("fichenl.jeu")), 7, QStringLiteral("NOUVELLE"));
             });
         }},
        {"stake sheet lines", "gr1.jeu",
         [](ClubFixture& club) {
             return messageOf([&] {
                 const SheetRecords built = buildSheetRecords(
                     {{QStringLiteral("MISE1   AS"), QStringLiteral("1,50"), QStringLiteral("2"), QString()}});
                 RecordFileOf<StakeTypeRecord>(sheetFilePath(club.dataFolder(), 1)).rewrite(built.records);
             });
         }},
        {"calendar race", "gr1.cal",
         [](ClubFixture& club) {
             return messageOf([&] {
                 storeCalendarRace(club.yearPath(QStringLiteral("gr1.cal")), session().LocalSitesPath,
                                   {5, 1, QStringLiteral("ORLEANS"), 12, 5, club.year(), 0});
             });
         }},
        {"club", "societe.nom",
         [](ClubFixture&) {
             return messageOf([] {
                 ClubTexts t{QStringLiteral("NOUVEAU CLUB"), QStringLiteral("59999"), QStringLiteral("3"),
                             QString(), QString(), QString(), QString(), QString()};
                 saveClub(session(), t);
             });
         }},
        {"fancier address", "noms.vba",
         [](ClubFixture&) {
             ScriptedDialogs dialogs;
             dialogs.answer(MsgAnswer::Ok).answer(MsgAnswer::Ok);
             const EditedFancier e = openFancier(1, 1);
             FancierForm form = e.form;
             form[FancierBox::Town] = QStringLiteral("ROUBAIX");
             const FancierSave out = saveFancier(e, form, dialogs);
             return out.outcome == FancierSave::Failed ? lastMessage(dialogs) : QString();
         }},
    };
    return paths;
}

struct SaveFailure : ::testing::Test {
    ClubFixture club;
    void SetUp() override {
        club.writeSmallClub();
        club.writeStakeSheet(1, QStringLiteral("GR1"), {{QStringLiteral("MISE1"), QStringLiteral("AS"), 1.5f, 0}});
        club.configureSession();
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
};

} // namespace

TEST_F(SaveFailure, FullDiskLeavesEveryFileAsItWas) {
    for (const SavePath& path : savePaths()) {
        SCOPED_TRACE(path.name);
        const QMap<QString, QByteArray> before = files();
        QString message;
        {
            FullDisk full;
            message = path.save(club);
        }
        EXPECT_TRUE(message.contains(QLatin1String(path.file), Qt::CaseInsensitive)) << message.toStdString();
        EXPECT_EQ(files(), before);
    }
}

TEST_F(SaveFailure, ReadOnlyFolderLeavesEveryFileAsItWas) {
    if (geteuid() == 0)
        GTEST_SKIP() << "running as root: folder permissions do not stop writes (the full-disk "
                        "test covers the same paths)";
    const QStringList folders{club.dataFolder(), club.yearFolder()};
    for (const SavePath& path : savePaths()) {
        SCOPED_TRACE(path.name);
        const QMap<QString, QByteArray> before = files();
        for (const QString& f : folders)
            chmod(QFile::encodeName(f).constData(), 0555);
        const QString message = path.save(club);
        for (const QString& f : folders)
            chmod(QFile::encodeName(f).constData(), 0755);
        EXPECT_FALSE(message.isEmpty());
        EXPECT_EQ(files(), before);
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
        {{QStringLiteral("ARRAS"), QStringLiteral("501728"), QStringLiteral("-5"), {}}, SiteBox::East},
        {{QStringLiteral("ARRAS"), QStringLiteral("501728"), QStringLiteral("+-5"), {}}, SiteBox::East},
        {{QStringLiteral("ARRAS"), QStringLiteral("501728"), {}, QStringLiteral("3 436")}, SiteBox::West},
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
    EXPECT_THROW(storeSheetName(club.path(QStringLiteral("fichenl.jeu")), 1, QStringLiteral("GROUPE Ω")),
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
