#include "club_fixture.h"

#include "common/fancier_slots.h"
#include "common/record_file.h"
#include "common/text.h"

#include <QDir>
#include <QFile>

namespace vt::testing {

ClubFixture::ClubFixture(int year) : m_year(year) {
    ensureFolder(dataFolder());
    ensureFolder(yearFolder());
}

QString ClubFixture::dataFolder() const { return QDir(m_dir.path()).filePath("region1"); }
QString ClubFixture::yearFolder() const {
    return QDir(dataFolder()).filePath(QString::number(m_year));
}
QString ClubFixture::path(const QString& n) const { return QDir(dataFolder()).filePath(n); }
QString ClubFixture::yearPath(const QString& n) const { return QDir(yearFolder()).filePath(n); }

Session& ClubFixture::configureSession() const {
    Session& s = session();
    s = Session{};
    s.setStartDir(m_dir.path());
    s.setSeasonYear(m_year);
    RecordFileOf<ClubRecord> club(s.ClubFilePath);
    if (club.count() > 0) {
        ClubRecord c = club.read(1);
        s.setClub(c.clubName(), c.clubCode(), c.groupNumber());
        s.SenderAddress = {trim(c.correspondent()), trim(c.addressLine()),
                           trim(c.addressComplement()), trim(c.postCode()), trim(c.town())};
    }
    return s;
}

void ClubFixture::writeClub(const QString& name, const QString& code, int16_t group,
                            const QString& correspondent, const QString& street,
                            const QString& complement, const QString& postCode,
                            const QString& town) {
    ClubRecord c;
    c.setClubName(name);
    c.setGroupNumber(group);
    c.setClubCode(code);
    c.setCorrespondent(correspondent);
    c.setAddressLine(street);
    c.setAddressComplement(complement);
    c.setPostCode(postCode);
    c.setTown(town);
    RecordFileOf<ClubRecord>(path("societe.nom")).rewrite({c});
}

FancierRecord ClubFixture::fancierRecord(const FancierSpec& spec) const {
    FancierRecord r = blankFancierRecord();
    r.setFancierName(spec.name);
    r.setTown(spec.town);
    r.setAddressLine(spec.address);
    r.setPostCode(spec.postCode);
    r.setLicenceNumber(spec.licence);
    r.setLatitudeDms(spec.latitude);
    r.setLongitudeEastDms(spec.east);
    r.setLongitudeWestDms(spec.west);
    r.setClubNumber(QStringLiteral("1"));
    return r;
}

int ClubFixture::addFancier(const FancierSpec& spec) {
    RecordFileOf<FancierRecord> master(path("noms.vba")), season(yearPath("noms.vba"));
    const int n = std::max(master.count(), season.count()) + 1;
    const FancierRecord r = fancierRecord(spec);
    season.write(n, r);
    master.write(n, r);
    return n;
}

ReleaseSiteRecord siteRecord(const SiteSpec& s) {
    ReleaseSiteRecord r;
    r.setSiteName(s.name);
    r.setLatitudeDms(s.latitude);
    r.setLongitudeEastDms(s.east);
    r.setLongitudeWestDms(s.west);
    return r;
}

void ClubFixture::addGeneralSite(const SiteSpec& s) {
    RecordFileOf<ReleaseSiteRecord> f(QDir(m_dir.path()).filePath("distgen"));
    f.write(f.count() + 1, siteRecord(s));
}

void ClubFixture::addLocalSite(const SiteSpec& s) {
    RecordFileOf<ReleaseSiteRecord> f(path("distloc"));
    f.write(f.count() + 1, siteRecord(s));
}

void ClubFixture::writeCalendar(const QList<CalendarRaceSpec>& races) {
    QList<CalendarRaceRecord> records;
    for (const CalendarRaceSpec& race : races) {
        CalendarRaceRecord r;
        r.setSiteName(race.site);
        r.setRaceDate(race.date);
        r.setCategoryIndex(static_cast<int16_t>(race.category));
        r.setLatitudeDms(race.latitude);
        r.setLongitudeEastDms(race.east);
        r.setLongitudeWestDms(race.west);
        r.setCategoryLetter(CategoryLetters[race.category & 3]);
        records.append(r);
    }
    RecordFileOf<CalendarRaceRecord>(yearPath("gr1.cal")).rewrite(records);
}

void ClubFixture::writeStakeSheet(int slot, const QString& name,
                                  const QList<StakeLineSpec>& lines) {
    RecordFileOf<SheetNameRecord> names(path("fichenl.jeu"));
    SheetNameRecord n;
    n.setSheetName(name);
    for (int k = names.count() + 1; k < slot + 1; ++k) {
        SheetNameRecord blank;
        blank.setSheetName(QString());
        names.write(k, blank);
    }
    names.write(slot + 1, n);
    QList<StakeTypeRecord> records;
    for (const StakeLineSpec& l : lines)
        records.append(stakeTypeRecord(l));
    const QString file = slot == 0 ? QStringLiteral("cptenl.jeu")
                                   : QStringLiteral("gr%1.jeu").arg(slot);
    RecordFileOf<StakeTypeRecord>(path(file)).rewrite(records);
}

void ClubFixture::writeSmallClub() {
    writeClub(QStringLiteral("LES AILES LILLOISES"), QStringLiteral("59012"), 7,
              QStringLiteral("Jean MARTIN"), QStringLiteral("12 rue des Pigeons"), QString(),
              QStringLiteral("59000"), QStringLiteral("LILLE"));
    addFancier({QStringLiteral("DUPONT Jean"), QStringLiteral("LILLE"), 503812, 30350, 0,
                QStringLiteral("3 rue Nationale"), QStringLiteral("59000"), QStringLiteral("1234567")});
    addFancier({QStringLiteral("MARTIN Paul"), QStringLiteral("ROUBAIX"), 504130, 31040, 0,
                QStringLiteral("8 place de la Gare"), QStringLiteral("59100"), QStringLiteral("2345678")});
    addFancier({QStringLiteral("LEFEBVRE André"), QStringLiteral("TOURCOING"), 504324, 30942, 0,
                QStringLiteral("1 avenue Foch"), QStringLiteral("59200"), QStringLiteral("3456789")});
    const SiteSpec orleans{QStringLiteral("ORLEANS"), 475413, 15435, 0};
    const SiteSpec bordeaux{QStringLiteral("BORDEAUX"), 445017, 0, 3436};
    const SiteSpec arras{QStringLiteral("ARRAS"), 501728, 24650, 0};
    const SiteSpec tours{QStringLiteral("TOURS"), 472338, 4122, 0};
    addGeneralSite(arras);
    addGeneralSite(bordeaux);
    addGeneralSite(orleans);
    addGeneralSite(tours);
    addLocalSite(orleans);
    addLocalSite(bordeaux);
    writeCalendar({{QStringLiteral("ORLEANS"), QStringLiteral("12/05/05"), 0, 475413, 15435, 0},
                   {QStringLiteral("BORDEAUX"), QStringLiteral("26/06/05"), 1, 445017, 0, 3436}});
}

QByteArray readBytes(const QString& p) {
    QFile f(p);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

void writeBytes(const QString& p, const QByteArray& bytes) {
    QFile f(p);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

FancierSpec namedFancier(const QString& name) {
    FancierSpec f;
    f.name = name;
    return f;
}

StakeLineSpec stakeLineSpec(const QString& text13, float unitValue) {
    StakeLineSpec l;
    l.label = text13.left(8);
    l.code = text13.mid(8);
    l.unitValue = unitValue;
    return l;
}

StakeTypeRecord stakeTypeRecord(const StakeLineSpec& l) {
    StakeTypeRecord r;
    r.setStakeLabel(l.label);
    r.setStakeCode(l.code);
    r.setCount(l.count);
    r.setUnitValue(l.unitValue);
    return r;
}

void ClubFixture::writeRaceFiles(const RaceFilesSpec& race) const {
    RaceBaseRecord base;
    base.setSiteName(race.site);
    base.setCategoryDigit(QString::number(race.category));
    base.setCalendarDateLong(race.date);
    base.setLevelIndex(float(race.raceCode / 100 - 1));
    RecordFileOf<RaceBaseRecord>(yearPath(raceFileName(QStringLiteral("bases"), race.raceCode)))
        .rewrite({base});
    QList<StakeTypeRecord> records;
    for (const StakeLineSpec& l : race.lines)
        records.append(stakeTypeRecord(l));
    RecordFileOf<StakeTypeRecord>(yearPath(raceFileName(QStringLiteral("basejeu"), race.raceCode)))
        .rewrite(records);
    QList<StakeAmountBlock> blocks;
    for (const QList<float>& values : race.blocks) {
        StakeAmountBlock b;
        for (int k = 0; k < values.size(); ++k)
            b.setStakeCount(k, values[k]);
        blocks.append(b);
    }
    RecordFileOf<StakeAmountBlock>(yearPath(raceFileName(QStringLiteral("mise"), race.raceCode)))
        .rewrite(blocks);
}

void ClubFixture::chooseRaces(Session& s, const QList<int>& raceCodes) {
    s.ChosenRaceCodes.fill(0);
    s.ChosenRaceStakeFiles.fill(QString());
    for (int i = 0; i < raceCodes.size(); ++i) {
        s.ChosenRaceCodes[i + 1] = int16_t(raceCodes[i]);
        s.ChosenRaceStakeFiles[i + 1] = QStringLiteral("gr%1jeu%2")
                                            .arg(raceCodes[i] / 100)
                                            .arg(raceExtension(raceCodes[i]));
    }
}

} // namespace vt::testing
