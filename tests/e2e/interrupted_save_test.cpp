// Saves interrupted by a kill: a child process (this program again, running only its
// disabled ChildSaves test) saves a club's files over and over, alternating two versions,
// and is killed at random moments. The saves are those of the program: release sites, a
// stake sheet and a sheet name, the entry sheets of every fancier across three chosen
// races, the race recaps, the club, and a race set-up that changes its stake sheet.
// After every kill each file that the program writes whole holds one version or the other,
// byte for byte: never a mix, never a truncation. Files written one record at a time in
// place (fanciers, stake blocks) hold, record by record, one version or the other; the
// season record of a fancier may also hold the entry save's first step (his new identity
// with his old amounts).
#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "entries/entry_save.h"
#include "entries/entry_sheet.h"
#include "entries/race_grids.h"
#include "entries/recap_store.h"
#include "entries/stake_sheets.h"
#include "fanciers/site_list.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "shell/club.h"
#include "shell/race_setup.h"
#include "shell/startup.h"
#include "tests/support/club_fixture.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <stdexcept>

using namespace vt;
using vt::testing::ClubFixture;

namespace {

constexpr const char* ChildFolderVariable = "VT_INTERRUPTED_SAVE_FOLDER";
constexpr int Year = 2005;
constexpr int SetupYear = 2006; // the race set-up works in a season of its own
constexpr int SetupRace = 5, SetupLevel = 3;
const QList<int> ChosenRaces{105, 212, 301};
constexpr int Fanciers = 30;

// Version 0 is small, version 1 long, so a truncated or mixed file matches neither.
QList<ReleaseSiteRecord> sites(int version) {
    QList<ReleaseSiteRecord> out;
    const int n = version == 0 ? 2 : 400;
    for (int i = 0; i < n; ++i) {
        ReleaseSiteRecord r;
        r.setSiteName(QStringLiteral("SITE %1 V%2").arg(i, 3, 10, QLatin1Char('0')).arg(version));
        r.setLatitudeDms(480000.5 + i + version);
        r.setLongitudeEastDms(version == 0 ? 20000 + i : 0);
        r.setLongitudeWestDms(version == 0 ? 0 : 13000 + i);
        out.append(r);
    }
    return out;
}

QList<SheetRow> sheetRows(int version) {
    QList<SheetRow> rows;
    const int n = version == 0 ? 3 : 100;
    for (int i = 0; i < n; ++i)
        rows.append({QStringLiteral("MISE%1  %2").arg(i % 10).arg(version == 0 ? "AS" : "1,00"),
                     QStringLiteral("%1,50").arg(i + version), QStringLiteral("%1").arg(i),
                     QString()});
    return rows;
}

// The entry sheet of fancier n as a user saves it: a town and a telephone of the version,
// and counts of the version on the first two rows of each chosen race.
void saveEntrySheet(int n, int version) {
    const EntrySheetOpening opening = openEntrySheet(n);
    if (!opening.error.isEmpty())
        throw std::runtime_error(opening.error.toStdString());
    EntrySaveInput input{opening.recordNo, opening.clubNo, opening.boxes, opening.boxes.name};
    input.boxes.town = version == 0 ? QStringLiteral("LILLE") : QStringLiteral("ROUBAIX");
    input.boxes.telephone = QStringLiteral("0320%1").arg(n * 10 + version, 6, 10, QChar(u'0'));
    RaceGrids grids;
    grids.load(session().YearFolder, session().ChosenRaceCodes, n);
    for (int tab = 1; tab <= grids.count(); ++tab)
        for (int row = 1; row <= 2; ++row) {
            grids.grid(tab).beginEdit(row);
            grids.grid(tab).applyEdit(QString::number((n + tab + row) % 4 + 1 + 3 * version));
        }
    grids.commitAll();
    ScriptedDialogs dialogs;
    if (!vt::saveEntrySheet(input, grids, dialogs).saved)
        throw std::runtime_error("entry sheet " + std::to_string(n) + " not saved");
}

RaceSetupPaths setupPaths() {
    const Session& s = session();
    const QString year = QDir(s.DataFolder).filePath(QString::number(SetupYear));
    return {year, s.DataFolder, QDir(year).filePath(QStringLiteral("noms.vba")), s.SheetNamesPath};
}

// One save of every file, as the windows do it, in the session's folder.
void saveAll(int version) {
    Session& s = session();
    SiteList(sites(version)).save(s.GeneralSitesPath);
    const SheetRecords sheet = buildSheetRecords(sheetRows(version));
    if (!sheet.ok())
        throw std::runtime_error(sheet.refusal.toStdString());
    RecordFileOf<StakeTypeRecord>(QDir(s.DataFolder).filePath(QStringLiteral("gr1.jeu")))
        .rewrite(sheet.records);
    storeSheetName(s.SheetNamesPath, 1,
                   version == 0 ? QStringLiteral("GROUPE") : QStringLiteral("GROUPE DU DIMANCHE"));

    for (int n = 1; n <= Fanciers; ++n)
        saveEntrySheet(n, version);
    ScriptedDialogs recapDialogs;
    recapDialogs.answer(MsgAnswer::Yes);
    if (!storeRaceRecaps(recapDialogs, s))
        throw std::runtime_error("recaps not stored");

    // The club's name keeps its first four characters: the entry sheets store them.
    saveClub(
        s,
        {version == 0 ? QStringLiteral("LES AILES LILLOISES") : QStringLiteral("LES AMIS DU NORD"),
         QStringLiteral("59012"), QString::number(7 + version), QStringLiteral("Jean MARTIN"),
         QStringLiteral("12 rue des Pigeons"), QString(), QStringLiteral("59000"),
         version == 0 ? QStringLiteral("LILLE") : QStringLiteral("ROUBAIX")});

    // The race set-up changes the race's stake sheet (2, then 3): the amounts of every
    // fancier with entries are recalculated.
    ScriptedDialogs setupDialogs;
    setupDialogs.answerInput(QString::number(2 + version)).answer(MsgAnswer::Yes);
    CalendarRaceRecord race;
    race.setSiteName(QStringLiteral("ORLEANS"));
    if (!setupRace(setupDialogs, setupPaths(), SetupRace, SetupLevel, race).added)
        throw std::runtime_error("race set-up failed");
}

// Points the session at a copy of the club, as the program's start does.
void openClub(const QString& startDir) {
    Session& s = session();
    s = Session{};
    if (!startUp(s, startDir))
        throw std::runtime_error("the club did not open");
    s.setSeasonYear(Year);
    ClubFixture::chooseRaces(s, ChosenRaces);
    setClockForTests([] { return QDateTime(QDate(Year, 5, 10), QTime(9, 0)); });
}

// The club before any save: the small club with 30 fanciers, three chosen races, and a
// season of its own for the race set-up whose fanciers all have entries.
void writeClub(ClubFixture& club) {
    club.writeSmallClub();
    for (int n = 4; n <= Fanciers; ++n)
        club.addFancier(vt::testing::namedFancier(QStringLiteral("AMATEUR %1").arg(n)));
    using vt::testing::stakeLineSpec;
    club.writeStakeSheet(0, QStringLiteral("COMPTES"), {});
    club.writeStakeSheet(1, QStringLiteral("GROUPE"),
                         {stakeLineSpec(QStringLiteral("Mise     Mise"), 1)});
    club.writeStakeSheet(2, QStringLiteral("DEUX"),
                         {stakeLineSpec(QStringLiteral("Mise     Mise"), 1),
                          stakeLineSpec(QStringLiteral("Série     2/3"), 2),
                          stakeLineSpec(QStringLiteral("TOTAL du jeu "))});
    club.writeStakeSheet(3, QStringLiteral("TROIS"),
                         {stakeLineSpec(QStringLiteral("Mise     Mise"), 1.5f),
                          stakeLineSpec(QStringLiteral("Série     2/3"), 4),
                          stakeLineSpec(QStringLiteral("TOTAL du jeu "))});
    const QList<vt::testing::StakeLineSpec> raceLines{
        stakeLineSpec(QStringLiteral("Mise     Mise"), 1),
        stakeLineSpec(QStringLiteral("Série     2/3"), 2),
        stakeLineSpec(QStringLiteral("TOTAL du jeu ")),
        stakeLineSpec(QStringLiteral("FRAIS    frai"), 0.5f),
        stakeLineSpec(QStringLiteral("S/total  s/to"))};
    for (int code : ChosenRaces)
        club.writeRaceFiles({code, QStringLiteral("ORLEANS"), 0, QStringLiteral("12 mai 2005"),
                             raceLines, QList<QList<float>>(Fanciers, QList<float>{})});

    const QDir setup(QDir(club.dataFolder()).filePath(QString::number(SetupYear)));
    ensureFolder(setup.path());
    const int code = raceCode(SetupLevel, SetupRace);
    RecordFileOf<FancierRecord>(setup.filePath(QStringLiteral("noms.vba")))
        .rewrite(RecordFileOf<FancierRecord>(club.path(QStringLiteral("noms.vba"))).readAll());
    RecordFileOf<RaceBaseRecord>(setup.filePath(raceFileName(QStringLiteral("bases"), code)))
        .rewrite({RaceBaseRecord()});
    QList<StakeAmountBlock> blocks;
    for (int n = 1; n <= Fanciers; ++n) {
        StakeAmountBlock b;
        b.setStakeCount(0, float(n % 5 + 1));
        b.setStakeCount(1, float(n % 5 + 1));
        b.setStakeCount(2, float(n % 3));
        blocks.append(b);
    }
    RecordFileOf<StakeAmountBlock>(setup.filePath(raceFileName(QStringLiteral("mise"), code)))
        .rewrite(blocks);
}

using Files = QMap<QString, QByteArray>; // by path below the start folder

Files filesUnder(const QString& startDir) {
    Files out;
    const QDir root(startDir);
    QDirIterator it(startDir, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        out[root.relativeFilePath(path)] = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    return out;
}

void copyTree(const QString& from, const QString& to) {
    for (auto [name, bytes] : filesUnder(from).asKeyValueRange()) {
        const QString target = QDir(to).filePath(name);
        ensureFolder(QFileInfo(target).absolutePath());
        vt::testing::writeBytes(target, bytes);
    }
}

// The files the entry sheets write one record at a time, with their record lengths.
int inPlaceRecordLength(const QString& name) {
    const QString year = QStringLiteral("region1/%1/").arg(Year);
    if (name == year + QStringLiteral("noms.vba") || name == QStringLiteral("region1/noms.vba"))
        return FancierRecord::Size;
    for (int code : ChosenRaces)
        if (name == year + raceFileName(QStringLiteral("mise"), code))
            return StakeAmountBlock::Size;
    return 0;
}

// A season record between the two steps of an entry save: the identity of `to`, the
// chosen races' amounts of `from`.
QByteArray identityOnly(const QByteArray& to, const QByteArray& from) {
    FancierRecord r(to);
    const FancierRecord old(from);
    for (int code : ChosenRaces)
        r.setRaceAmount(code, old.raceAmount(code));
    return r.bytes();
}

// What is wrong with the file `name` holding `now`; empty when it is one of the versions.
QString fault(const QString& name, const QByteArray& now, const QByteArray (&version)[2]) {
    if (now == version[0] || now == version[1])
        return {};
    const int length = inPlaceRecordLength(name);
    if (length == 0 || now.size() != version[0].size() || version[0].size() != version[1].size())
        return QStringLiteral("%1 bytes, neither version").arg(now.size());
    const bool season = name == QStringLiteral("region1/%1/noms.vba").arg(Year);
    for (qsizetype at = 0; at < now.size(); at += length) {
        const QByteArray r = now.mid(at, length), a = version[0].mid(at, length),
                         b = version[1].mid(at, length);
        if (r == a || r == b)
            continue;
        if (season && (r == identityOnly(a, b) || r == identityOnly(b, a)))
            continue;
        return QStringLiteral("record %1 is neither version").arg(at / length + 1);
    }
    return {};
}

// The child: saves both versions in turn until it is killed. Disabled, so that it runs
// only when started by the test below.
TEST(InterruptedSave, DISABLED_ChildSaves) {
    const QByteArray folder = qgetenv(ChildFolderVariable);
    if (folder.isEmpty())
        GTEST_SKIP() << "run by the InterruptedSave test as its child process";
    openClub(QString::fromLocal8Bit(folder));
    for (long i = 0;; ++i) {
        saveAll(int(i % 2));
        if (i == 1) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
        }
    }
}

TEST(InterruptedSave, EveryFileIsTheOldOrTheNewOne) {
    // The two versions, made by the same saves in a club of their own: a first save of
    // version 1 puts the backup of the club and the stored stake sheet in the state that
    // the alternation keeps.
    ClubFixture club(Year);
    writeClub(club);
    openClub(club.startDir());
    saveAll(1);
    Files version[2];
    QElapsedTimer timer;
    timer.start();
    for (int v = 0; v < 2; ++v) {
        saveAll(v);
        version[v] = filesUnder(club.startDir());
    }
    const qint64 saveMs = std::max<qint64>(1, timer.elapsed() / 2);
    saveAll(0);
    ASSERT_EQ(filesUnder(club.startDir()), version[0])
        << "the saves must give the same bytes each time";
    ASSERT_NE(version[0], version[1]);
    QTemporaryDir work;
    copyTree(club.startDir(), work.path());
    setClockForTests({});

    int argc = 0;
    QCoreApplication app(argc, nullptr);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QString::fromLatin1(ChildFolderVariable), work.path());

    // A temporary that a kill leaves beside a file: its name and six random characters.
    QStringList knownNames;
    for (const QString& name : version[0].keys())
        knownNames << QRegularExpression::escape(QFileInfo(name).fileName());
    const QRegularExpression temporary(
        QStringLiteral("^(%1)\\.[A-Za-z0-9]{6}$").arg(knownNames.join(u'|')));

    QRandomGenerator random(20261210);
    int temporaries = 0;
    for (int k = 0; k < 30; ++k) {
        QProcess child;
        child.setProcessEnvironment(env);
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("--gtest_filter=InterruptedSave.DISABLED_ChildSaves"),
                     QStringLiteral("--gtest_also_run_disabled_tests")});
        ASSERT_TRUE(child.waitForStarted(10000));
        QByteArray output;
        while (!output.contains("ready")) {
            ASSERT_TRUE(child.waitForReadyRead(30000))
                << "the child never saved: " << output.toStdString();
            output += child.readAllStandardOutput();
        }
        // Anywhere in the next save or the one after.
        QThread::usleep(random.bounded(quint32(saveMs * 2000)));
        ASSERT_EQ(child.state(), QProcess::Running)
            << "the child stopped: " << (output + child.readAll()).toStdString();
        child.kill(); // SIGKILL
        ASSERT_TRUE(child.waitForFinished(10000));

        const Files now = filesUnder(work.path());
        for (auto [name, bytes] : now.asKeyValueRange()) {
            if (!version[0].contains(name)) {
                EXPECT_TRUE(temporary.match(QFileInfo(name).fileName()).hasMatch())
                    << "unexpected file " << name.toStdString();
                ++temporaries;
                continue;
            }
            const QByteArray both[2] = {version[0][name], version[1][name]};
            const QString problem = fault(name, bytes, both);
            EXPECT_TRUE(problem.isEmpty())
                << name.toStdString() << " after kill " << k << ": " << problem.toStdString();
        }
        for (const QString& name : version[0].keys())
            EXPECT_TRUE(now.contains(name)) << name.toStdString() << " missing after kill " << k;
    }
    std::printf("%d temporaries left by the kills\n", temporaries);
}

// The rewrite of several records gives the bytes that writing each in place gives: past
// the end (zeros first, a partial last record overwritten), in the middle, on a missing file.
TEST(InterruptedSave, SeveralRecordsRewrittenWholeGiveTheBytesOfInPlaceWrites) {
    const QTemporaryDir dir;
    const QByteArray tail("xyz");
    const struct {
        QByteArray start;
        QList<std::pair<int, QByteArray>> writes;
    } cases[] = {
        {{}, {{3, "cccc"}, {1, "aaaa"}}},
        {QByteArray("aaaabbbb") + tail, {{2, "BBBB"}}},
        {QByteArray("aaaabbbb") + tail, {{3, "CCCC"}}},
        {QByteArray("aaaabbbb") + tail, {{5, "EEEE"}, {1, "AAAA"}}},
        {QByteArray("aaaa"), {}},
    };
    int i = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(i);
        const QString inPlace = dir.filePath(QStringLiteral("a%1").arg(i));
        const QString whole = dir.filePath(QStringLiteral("b%1").arg(i++));
        if (!c.start.isEmpty()) {
            vt::testing::writeBytes(inPlace, c.start);
            vt::testing::writeBytes(whole, c.start);
        }
        RecordFile a(inPlace, 4), b(whole, 4);
        for (const auto& [n, bytes] : c.writes)
            a.writeRaw(n, bytes);
        b.writeRawRecords(c.writes);
        EXPECT_EQ(vt::testing::readBytes(whole), vt::testing::readBytes(inPlace));
    }
}

} // namespace
