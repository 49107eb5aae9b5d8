// Damaged files read by the shell: the club at start-up, the season made from the master
// fanciers file, the race base written from a calendar record, the race set-up reading the
// stake-sheet names, the sheets and the race files (answers to its questions taken from the
// input), the printed calendar, the export and the race withdrawal. Every file may be
// truncated, over-long, full of NUL or 0xFF, or hold NaN and infinite numbers. Each step
// ends with a result or a French message; the files it writes keep whole records, and the
// fanciers file keeps its size.
#include "fuzz_support.h"

#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "common/text.h"
#include "entries/stake_catalogue.h"
#include "platform/recording_surface.h"
#include "shell/calendar.h"
#include "shell/club.h"
#include "shell/race_export.h"
#include "shell/race_setup.h"
#include "shell/race_withdrawal.h"
#include "shell/season.h"
#include "shell/startup.h"

#include <cmath>

namespace {

using fuzz::get;
using fuzz::put;

// Input parts: 0 parameters, 1 answers, 2 societe.nom, 3 gr1.cal, 4 noms.vba (master),
// 5 fichenl.jeu, 6 the stake sheets gr1.jeu to gr3.jeu, 7 cptenl.jeu, 8 bases, 9 basejeu,
// 10 mise.
bool wholeRecords(const QString& path, int size) {
    return get(path).size() % size == 0;
}

void run(const fuzz::Parts& in) {
    fuzz::clearFolder();
    vt::Session& s = vt::session();
    s = vt::Session();
    const QString start = fuzz::folder().path();
    const QString data = fuzz::pathOf(QStringLiteral("region1"));
    QDir().mkpath(data);
    put(data + QStringLiteral("/societe.nom"), in.part(2));
    put(data + QStringLiteral("/gr1.cal"), in.part(3));
    put(data + QStringLiteral("/noms.vba"), in.part(4));
    put(data + QStringLiteral("/fichenl.jeu"), in.part(5));
    for (int n = 1; n <= 3; ++n)
        put(data + QStringLiteral("/gr%1.jeu").arg(n), in.part(6));
    put(data + QStringLiteral("/cptenl.jeu"), in.part(7));

    const bool club = vt::startUp(s, start);
    FUZZ_CHECK(s.ClubCount >= 1);
    FUZZ_CHECK(!club || !vt::isBlank(s.ClubNames.value(1)));
    FUZZ_CHECK(get(s.ClubFilePath) == in.part(2)); // reading the club writes nothing
    (void)vt::seasonTitle(s);

    try {
        vt::openYear(s, 2026);
    } catch (const vt::Error&) {
        return;
    }
    const QByteArray master = get(s.MasterFancierPath);
    const QByteArray season = get(s.FancierFilePath);
    const qsizetype records = master.size() / vt::FancierRecord::Size;
    FUZZ_CHECK(season.size() == records * vt::FancierRecord::Size);
    const vt::RecordFileOf<vt::FancierRecord> seasonFile(s.FancierFilePath);
    for (int r = 1; r <= records; ++r)
        for (int code = 1; code <= vt::FancierRecord::MaxRaceCode; code += 97)
            FUZZ_CHECK(seasonFile.read(r).raceAmount(code) == 0);

    // Mostly the first races, where the calendar seeds have records; now and then any.
    const int race = 1 + (in.param(1) < 200 ? in.param(1) % 4 : in.param(1) % vt::MaxCalendarRaces);
    const int level = in.param(2) % 4;
    const int code = vt::raceCode(level, race);
    const QString calendar = data + QStringLiteral("/gr1.cal");
    const auto raceFile = [&](const char* base) {
        return QDir(s.YearFolder).filePath(vt::raceFileName(QString::fromLatin1(base), code));
    };
    if (!in.part(8).isEmpty())
        put(raceFile("bases"), in.part(8));
    if (!in.part(9).isEmpty())
        put(raceFile("basejeu"), in.part(9));
    if (!in.part(10).isEmpty())
        put(raceFile("mise"), in.part(10));

    fuzz::AnswerDialogs dialogs(in.part(1));
    try {
        const vt::CalendarRaceRecord record =
            vt::writeRaceBase(calendar, s.YearFolder, race, level);
        FUZZ_CHECK(vt::calendarDate(record).isValid());
        FUZZ_CHECK(get(raceFile("bases")).size() >= vt::RaceBaseRecord::Size);
        (void)vt::chosenRaceSummary(record);
        const vt::RaceSetupResult setup =
            vt::setupRace(dialogs, vt::RaceSetupPaths::fromSession(s), race, level, record);
        FUZZ_CHECK(get(s.FancierFilePath).size() == season.size());
        FUZZ_CHECK(wholeRecords(raceFile("basejeu"), vt::StakeTypeRecord::Size) || !setup.added);
        if (setup.added) {
            FUZZ_CHECK(vt::chosenLineCode(setup.chosenLine) == code);
            // The fees and result amounts were asked: what was typed is a finite Single.
            for (const vt::StakeKind kind : {vt::StakeKind::Fees, vt::StakeKind::Result})
                for (const vt::StakeTypeRecord& line :
                     vt::RecordFileOf<vt::StakeTypeRecord>(raceFile("basejeu")).readAll())
                    if (vt::recordKinds(line).testFlag(kind)) {
                        FUZZ_CHECK(std::isfinite(line.unitValue()));
                        break;
                    }
            FUZZ_CHECK(vt::storeChosenRaces(s, {setup.chosenLine}, 1) == 1);
        }
    } catch (const vt::Error&) {
    }

    const QString exports = fuzz::pathOf(QStringLiteral("export"));
    QDir().mkpath(exports);
    const vt::ExportResult exported =
        vt::exportRace(dialogs, code, s.YearFolder, s.FancierFilePath, exports);
    if (exported.outcome == vt::ExportOutcome::Written)
        FUZZ_CHECK(QFileInfo::exists(exported.path));
    else
        FUZZ_CHECK(QDir(exports).isEmpty());

    const QByteArray fanciersBefore = get(s.FancierFilePath);
    const QStringList lines = vt::editorLines(
        vt::RecordFileOf<vt::CalendarRaceRecord>(calendar).readAll().mid(0, vt::MaxCalendarRaces));
    {
        vt::RecordingSurface surface;
        (void)vt::printCalendar(surface, s.ClubCaption, lines);
    }
    const int position = 1 + in.param(3) % vt::MaxCalendarRaces;
    const QByteArray calendarBefore = get(calendar);
    try {
        const vt::WithdrawalResult w =
            vt::withdrawRace(dialogs, calendar, s.YearFolder, position, lines.value(position - 1));
        // A cancelled question leaves the calendar as it was.
        if (!w.done)
            FUZZ_CHECK(get(calendar) == calendarBefore);
        else
            FUZZ_CHECK(vt::RecordFileOf<vt::CalendarRaceRecord>(calendar).read(position).isZero());
        FUZZ_CHECK(wholeRecords(calendar, vt::CalendarRaceRecord::Size) ||
                   get(calendar).size() == in.part(3).size());
    } catch (const vt::Error&) {
    }
    FUZZ_CHECK(get(s.FancierFilePath).size() == fanciersBefore.size());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    run(fuzz::Parts(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size))));
    return 0;
}
