#pragma once
// A small club's data folder in a temporary StartDir: club, fanciers, release sites,
// calendar and stake sheets, written with the program's own record layouts.
#include "common/records.h"
#include "common/session.h"

#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace vt::testing {

struct SiteSpec {
    QString name;
    double latitude = 0, east = 0, west = 0;
};

struct FancierSpec {
    QString name;
    QString town;
    double latitude = 0, east = 0, west = 0;
    QString address, postCode, licence;
};

struct CalendarRaceSpec {
    QString site;
    QString date; // "dd/mm/yy"
    int category = 0;
    double latitude = 0, east = 0, west = 0;
};

struct StakeLineSpec {
    QString label; // 8
    QString code;  // 5
    float unitValue = 0;
    int16_t count = 0;
};

// A fancier known by his name only.
FancierSpec namedFancier(const QString& name);
// A stake line from its 13-character text (label 8 followed by code 5).
StakeLineSpec stakeLineSpec(const QString& text13, float unitValue = 0);
StakeTypeRecord stakeTypeRecord(const StakeLineSpec& spec);

// The files a chosen race has in the season's folder: bases.<code>, basejeu.<code> and
// mise.<code> (record n = fancier n; element 0 pigeons entered, then the stake counts).
struct RaceFilesSpec {
    int raceCode = 101;
    QString site;
    int category = 0;     // 0 "VIEUX" ... 3 "JEUNES"
    QString date;         // "21 juin 2026"
    QList<StakeLineSpec> lines;
    QList<QList<float>> blocks;
};

class ClubFixture {
public:
    explicit ClubFixture(int year = 2005);

    QString startDir() const { return m_dir.path(); }
    QString dataFolder() const;
    QString yearFolder() const;
    QString path(const QString& nameInDataFolder) const;
    QString yearPath(const QString& nameInYearFolder) const;
    int year() const { return m_year; }

    // Points vt::session() at this folder (paths, season, club tables).
    Session& configureSession() const;

    void writeClub(const QString& name, const QString& code, int16_t group = 1,
                   const QString& correspondent = QString(), const QString& street = QString(),
                   const QString& complement = QString(), const QString& postCode = QString(),
                   const QString& town = QString());
    // Writes the fancier at the next record of both noms.vba files; returns its number.
    int addFancier(const FancierSpec& spec);
    FancierRecord fancierRecord(const FancierSpec& spec) const;
    void addGeneralSite(const SiteSpec& s);
    void addLocalSite(const SiteSpec& s);
    void writeCalendar(const QList<CalendarRaceSpec>& races);
    // Sheet slot 0 is cptenl.jeu, slot n gr<n>.jeu; the name goes into fichenl.jeu.
    void writeStakeSheet(int slot, const QString& name, const QList<StakeLineSpec>& lines);

    // Writes the race's three files; the level index is the race code's hundreds - 1.
    void writeRaceFiles(const RaceFilesSpec& race) const;
    // Puts the races into the session's chosen slots 1, 2 ... with their stake file names
    // ("gr" & level digit & "jeu." & code).
    static void chooseRaces(Session& s, const QList<int>& raceCodes);

    // The default club with three fanciers, four sites (two local) and two races.
    void writeSmallClub();

private:
    QTemporaryDir m_dir;
    int m_year;
};

// The release-site record of a spec, as addGeneralSite and addLocalSite write it.
ReleaseSiteRecord siteRecord(const SiteSpec& s);

QByteArray readBytes(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace vt::testing
