#include "bench_folder.h"

#include "common/fancier_slots.h"
#include "common/record_file.h"
#include "common/records.h"
#include "entries/amount_owed.h"
#include "entries/grid_rules.h"
#include "tests/support/club_fixture.h"

#include <QDir>

#include <algorithm>
#include <array>
#include <cstdint>

namespace vt::bench {

namespace {

using testing::SiteSpec;
using testing::StakeLineSpec;
using testing::stakeLineSpec;

// A fixed series, so that two runs measure the same folder.
class Series {
public:
    explicit Series(uint32_t seed) : m_state(seed) {}
    uint32_t next() {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int below(int n) { return static_cast<int>(next() % static_cast<uint32_t>(n)); }

private:
    uint32_t m_state;
};

const std::array<const char*, 24> Surnames = {
    "MARTIN",   "BERNARD", "DUBOIS",  "THOMAS",   "ROBERT",   "RICHARD", "PETIT",  "DURAND",
    "LEROY",    "MOREAU",  "SIMON",   "LAURENT",  "LEFEBVRE", "MICHEL",  "GARCIA", "DAVID",
    "BERTRAND", "ROUX",    "VINCENT", "FOURNIER", "MOREL",    "GIRARD",  "DUPONT", "LAMBERT"};
const std::array<const char*, 16> FirstNames = {
    "Jean",  "Paul",    "Pierre",  "Michel", "André",  "Claude", "Louis", "Marc",
    "Henri", "Jacques", "Bernard", "Roger",  "Marcel", "Daniel", "Alain", "Gérard"};
const std::array<const char*, 12> Towns = {"LILLE",   "ROUBAIX",   "TOURCOING", "ARRAS",
                                           "DOUAI",   "LENS",      "CAMBRAI",   "VALENCIENNES",
                                           "BETHUNE", "DUNKERQUE", "CALAIS",    "SAINT-OMER"};
const std::array<const char*, 8> Streets = {"rue Nationale", "rue de la Gare",  "place du Marché",
                                            "avenue Foch",   "rue des Pigeons", "chemin Vert",
                                            "rue Pasteur",   "boulevard Carnot"};

// A packed DDMMSS coordinate from whole seconds.
double packed(int seconds) {
    const int d = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    return d * 10000.0 + m * 100.0 + s;
}

// The 92 bet lines of the race sheet gr1.jeu, every kind the grid knows.
QList<StakeLineSpec> betLines() {
    const QList<StakeLineSpec> kinds = {
        stakeLineSpec(QStringLiteral("Mise     Mise"), 1.0f),
        stakeLineSpec(QStringLiteral("Série     2/3"), 0.5f),
        stakeLineSpec(QStringLiteral("Série     4/6"), 1.0f),
        stakeLineSpec(QStringLiteral("Poule    0,50"), 0.5f),
        stakeLineSpec(QStringLiteral("Poule    1,00"), 1.0f),
        stakeLineSpec(QStringLiteral("Poule    2,00"), 2.0f),
        stakeLineSpec(QStringLiteral("Premier  Prem"), 1.0f),
        stakeLineSpec(QStringLiteral("Richome  Ri.2"), 1.0f),
        stakeLineSpec(QStringLiteral("Unique   Un.1"), 0.5f),
        stakeLineSpec(QStringLiteral("BELGE    Mise"), 1.0f),
        stakeLineSpec(QStringLiteral("Sér. 2/3 Obj."), 1.0f),
    };
    QList<StakeLineSpec> lines;
    for (int j = 0; j < 92; ++j)
        lines.append(kinds[j % kinds.size()]);
    return lines;
}

// The accounts cptenl.jeu that follow a sheet's bet lines.
QList<StakeLineSpec> accountLines() {
    return {stakeLineSpec(QStringLiteral("TOTAL du jeu ")),
            stakeLineSpec(QStringLiteral("FRAIS    frai"), 0.50f),
            stakeLineSpec(QStringLiteral("GRATUITS grat")),
            stakeLineSpec(QStringLiteral("S/total  s/to")),
            stakeLineSpec(QStringLiteral("Bagues   bagu"), 0.20f),
            stakeLineSpec(QStringLiteral("    % à  dedu"), 10.0f),
            stakeLineSpec(QStringLiteral("Total    s/td")),
            stakeLineSpec(QStringLiteral("TOTAL    t/ge"))};
}

// A count typed on a bet line, as the entry sheet keeps it with `pigeons` entered.
long long keptCount(const GridRowKinds& line, long long typed, long long pigeons) {
    if (line.is(StakeKind::DotOne) || line.is(StakeKind::Prem))
        return std::min<long long>(typed, 1);
    if (line.is(StakeKind::RiTwo))
        return RiTwoShownCount;
    if (line.series.group != 0)
        typed = cutSeries(typed, line.series.group);
    if (line.is(StakeKind::SerTwoThree))
        typed = std::min(typed, (pigeons + 1) / 3);
    if (line.is(StakeKind::SerThreeFive))
        typed = std::min(typed, (pigeons + 2) / 5);
    return typed;
}

// Pools one after the other, cheaper first: no dearer pool takes more pigeons than a
// cheaper one above it, as the entry sheet's cascade leaves them.
void orderPools(StakeAmountBlock& b, const QList<GridRowKinds>& lines) {
    for (int line = 2; line <= int(lines.size()); ++line)
        if (lines[line - 1].is(StakeKind::Poule) && lines[line - 2].is(StakeKind::Poule) &&
            b.stakeCount(line) > b.stakeCount(line - 1))
            b.setStakeCount(line, b.stakeCount(line - 1));
}

QList<SiteSpec> siteSpecs(int count, Series& series) {
    QList<SiteSpec> sites;
    for (int i = 1; i <= count; ++i) {
        // France and Spain, south of the lofts: 40°00' to 49°00' north, 4° west to 6° east.
        const int lat = 40 * 3600 + series.below(9 * 3600);
        const int lon = series.below(10 * 3600) - 4 * 3600;
        SiteSpec s;
        // The totals per race cut a site to 9 characters: the number comes within them, so
        // that every race heading names its own site.
        s.name = QStringLiteral("LIEU %1").arg(i, 4, 10, QChar(u'0'));
        s.latitude = packed(lat);
        (lon >= 0 ? s.east : s.west) = packed(std::abs(lon));
        sites.append(s);
    }
    return sites;
}

FancierRecord fancier(int n, const ClubRecord& club, Series& series) {
    FancierRecord r = blankFancierRecord();
    r.setFancierName(QStringLiteral("%1 %2").arg(
        QString::fromUtf8(Surnames[series.below(Surnames.size())]),
        QString::fromUtf8(FirstNames[series.below(FirstNames.size())])));
    r.setLicenceNumber(QStringLiteral("%1").arg(1000000 + n, 7, 10, QChar(u'0')));
    r.setAddressLine(QStringLiteral("%1 %2")
                         .arg(1 + series.below(150))
                         .arg(QString::fromUtf8(Streets[series.below(Streets.size())])));
    const int town = series.below(Towns.size());
    r.setTown(QString::fromUtf8(Towns[town]));
    r.setPostCode(QStringLiteral("%1").arg(59000 + 10 * town));
    r.setTelephone(QStringLiteral("03 20 %1").arg(series.below(1000000), 6, 10, QChar(u'0')));
    // Lofts in the north: 50°00' to 51°00' north, 2°00' to 4°00' east.
    r.setLatitudeDms(packed(50 * 3600 + series.below(3600)));
    r.setLongitudeEastDms(packed(2 * 3600 + series.below(2 * 3600)));
    // The club fields as the fanciers list mends them, so that loading writes nothing.
    r.setClubNumber(QStringLiteral("1"));
    r.setClubGroupNumber(club.groupNumber());
    r.setClubCode(club.clubCode().trimmed());
    r.setLastSaveYear(QStringLiteral(" %1").arg(BenchYear));
    return r;
}

QString dayOfSeason(int race, int year, bool longForm) {
    static const char* const months[] = {"avril", "mai", "juin", "juillet", "août", "septembre"};
    const int day = 1 + race % 28, month = race / 17; // 17 races a month, April on
    if (longForm)
        return QStringLiteral("%1 %2 %3").arg(day).arg(QString::fromUtf8(months[month])).arg(year);
    return QStringLiteral("%1/%2/%3")
        .arg(day, 2, 10, QChar(u'0'))
        .arg(month + 4, 2, 10, QChar(u'0'))
        .arg(year % 100, 2, 10, QChar(u'0'));
}

} // namespace

int stakeLineCount() {
    return static_cast<int>(betLines().size() + accountLines().size());
}

BenchFolder writeBenchFolder(const QString& startDir, const FolderSize& size, int year) {
    BenchFolder out;
    out.size = size;
    out.year = year;
    ensureFolder(startDir);
    out.startDir = QDir(startDir).absolutePath();
    out.dataFolder = QDir(out.startDir).filePath(QStringLiteral("region1"));
    out.yearFolder = QDir(out.dataFolder).filePath(QString::number(year));
    ensureFolder(out.yearFolder);
    const QDir data(out.dataFolder), season(out.yearFolder);
    Series series(20260521u);

    ClubRecord club;
    club.setClubName(QStringLiteral("LES AILES DU NORD"));
    club.setGroupNumber(7);
    club.setClubCode(QStringLiteral("59012"));
    club.setCorrespondent(QStringLiteral("Jean MARTIN"));
    club.setAddressLine(QStringLiteral("12 rue des Pigeons"));
    club.setPostCode(QStringLiteral("59000"));
    club.setTown(QStringLiteral("LILLE"));
    RecordFileOf<ClubRecord>(data.filePath(QStringLiteral("societe.nom"))).rewrite({club});

    const QList<SiteSpec> sites = siteSpecs(size.sites, series);
    QList<ReleaseSiteRecord> siteRecords;
    for (const SiteSpec& s : sites)
        siteRecords.append(testing::siteRecord(s));
    RecordFileOf<ReleaseSiteRecord>(QDir(out.startDir).filePath(QStringLiteral("distgen")))
        .rewrite(siteRecords);
    RecordFileOf<ReleaseSiteRecord>(data.filePath(QStringLiteral("distloc")))
        .rewrite(siteRecords.mid(0, 20));

    QList<CalendarRaceRecord> calendar;
    for (int race = 1; race <= size.calendarRaces; ++race) {
        const SiteSpec& site = sites[(race - 1) % sites.size()];
        CalendarRaceRecord r;
        r.setSiteName(site.name);
        r.setRaceDate(dayOfSeason(race, year, false));
        r.setCategoryIndex(static_cast<int16_t>(race % 4));
        r.setCategoryLetter(CategoryLetters[race % 4]);
        r.setLatitudeDms(site.latitude);
        r.setLongitudeEastDms(site.east);
        r.setLongitudeWestDms(site.west);
        calendar.append(r);
    }
    RecordFileOf<CalendarRaceRecord>(season.filePath(QStringLiteral("gr1.cal"))).rewrite(calendar);

    QList<StakeTypeRecord> bets, accounts;
    for (const StakeLineSpec& l : betLines())
        bets.append(testing::stakeTypeRecord(l));
    for (const StakeLineSpec& l : accountLines())
        accounts.append(testing::stakeTypeRecord(l));
    SheetNameRecord blank, sheetName;
    sheetName.setSheetName(QStringLiteral("JEU DU CLUB"));
    blank.setSheetName(QString());
    RecordFileOf<SheetNameRecord>(data.filePath(QStringLiteral("fichenl.jeu")))
        .rewrite({blank, sheetName, sheetName});
    RecordFileOf<StakeTypeRecord>(data.filePath(QStringLiteral("cptenl.jeu"))).rewrite(accounts);
    RecordFileOf<StakeTypeRecord>(data.filePath(QStringLiteral("gr1.jeu"))).rewrite(bets);
    RecordFileOf<StakeTypeRecord>(data.filePath(QStringLiteral("gr2.jeu")))
        .rewrite(bets.mid(0, 40));

    QList<FancierRecord> fanciers;
    fanciers.reserve(size.fanciers);
    for (int n = 1; n <= size.fanciers; ++n)
        fanciers.append(fancier(n, club, series));
    // The master keeps no race amounts; the season's copy holds what each fancier owes.
    RecordFileOf<FancierRecord>(data.filePath(QStringLiteral("noms.vba"))).rewrite(fanciers);

    const QList<StakeTypeRecord> raceLines = bets + accounts;
    QList<GridRowKinds> rules;
    for (const StakeTypeRecord& line : bets)
        rules.append(classifyGridRow(line.stakeLabel() + line.stakeCode()));
    const int feesLine = int(bets.size()) + 2; // after the bet lines and TOTAL du jeu
    const RaceAmountsOwed amounts(raceLines);
    for (int k = 1; k <= size.chosenRaces; ++k) {
        const int code = 100 + k; // level 0, race k
        out.chosenRaceCodes.append(code);
        const SiteSpec& site = sites[(k - 1) % sites.size()];
        RaceBaseRecord base;
        base.setSiteName(site.name);
        base.setCategoryDigit(QString::number(k % 4));
        base.setCalendarDateLong(dayOfSeason(k, year, true));
        base.setLatitudeDms(site.latitude);
        base.setLongitudeEastDms(site.east);
        base.setLongitudeWestDms(site.west);
        base.setLevelIndex(0);
        base.setStakeSheet(1);
        RecordFileOf<RaceBaseRecord>(season.filePath(raceFileName(QStringLiteral("bases"), code)))
            .rewrite({base});
        RecordFileOf<StakeTypeRecord>(
            season.filePath(raceFileName(QStringLiteral("basejeu"), code)))
            .rewrite(raceLines);
        QList<StakeAmountBlock> blocks;
        blocks.reserve(size.fanciers);
        for (int n = 1; n <= size.fanciers; ++n) {
            StakeAmountBlock b;
            if (series.below(10) < 6) { // six fanciers in ten enter this race
                const int pigeons = 1 + series.below(20);
                b.setStakeCount(0, float(pigeons));
                for (int line = 1; line <= int(rules.size()); ++line)
                    if (series.below(4) == 0)
                        b.setStakeCount(line, float(keptCount(rules[line - 1],
                                                              1 + series.below(pigeons), pigeons)));
                orderPools(b, rules);
                // FRAIS takes the pigeons entered, as the entry sheet saves it; he owes what
                // his entry sheet says.
                b.setStakeCount(feesLine, float(pigeons));
                fanciers[n - 1].setRaceAmount(code, amounts.thousandths(b).value_or(0));
            }
            blocks.append(b);
        }
        RecordFileOf<StakeAmountBlock>(season.filePath(raceFileName(QStringLiteral("mise"), code)))
            .rewrite(blocks);
    }
    RecordFileOf<FancierRecord>(season.filePath(QStringLiteral("noms.vba"))).rewrite(fanciers);
    return out;
}

Session& configureBenchSession(const BenchFolder& folder) {
    Session& s = session();
    s = Session{};
    s.setStartDir(folder.startDir);
    s.setSeasonYear(folder.year);
    const ClubRecord club =
        RecordFileOf<ClubRecord>(QDir(s.DataFolder).filePath(QStringLiteral("societe.nom")))
            .read(1);
    s.setClub(club.clubName(), club.clubCode(), club.groupNumber());
    testing::ClubFixture::chooseRaces(s, folder.chosenRaceCodes);
    return s;
}

} // namespace vt::bench
