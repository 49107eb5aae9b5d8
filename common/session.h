#pragma once
// The program-wide state that more than one window reads: folders and file paths, the
// club tables, the chosen races and the modes a window reads when it opens.
#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>

namespace vt {

struct SenderAddressFields {
    QString Correspondent, Street, Complement, PostCode, Town;
};

// The four pigeon categories by index, with their calendar letters.
inline const std::array<QString, 4> CategoryNames = {
    QStringLiteral("VIEUX"), QStringLiteral("FEMELLES"), QStringLiteral("UN AN"),
    QStringLiteral("JEUNES")};
inline const std::array<QString, 4> CategoryLetters = {
    QStringLiteral("V"), QStringLiteral("F"), QStringLiteral("A"), QStringLiteral("J")};
// The race levels by option index: RaceCode = (index + 1) × 100 + race number.
inline const std::array<QString, 4> LevelNames = {
    QStringLiteral("GENERAL"), QStringLiteral("GROUPEMENT"), QStringLiteral("SECTEUR"),
    QStringLiteral("SOCIETE")};
inline constexpr int MaxChosenRaces = 11;
inline constexpr int MaxRaceCode = 649;

// "." and the three digits of a RaceCode: ".102".
QString raceExtension(int raceCode);
// "bases", "basejeu", "mise" or "recap" with the race's extension.
QString raceFileName(const QString& base, int raceCode);

class Session {
public:
    // Folders: StartDir holds distgen, DataFolder = StartDir/region1 the club's files,
    // YearFolder = DataFolder/yyyy the season's files. All paths are absolute.
    QString StartDir, DataFolder, YearFolder;
    int SeasonYear = 0;
    QString YearShort;

    QString ClubFilePath, MasterFancierPath, FancierFilePath, LocalSitesPath, GeneralSitesPath,
        SheetNamesPath;

    // The club tables, indexed by club number (1 for the one club; element 0 unused).
    int ClubCount = 1;
    QStringList ClubNames{QString(), QString()};
    QStringList ClubCodes{QString(), QString()};
    QList<int> ClubGroupNumbers{0, 1};
    int ClubGroupNo = 0;
    QString ClubCaption;
    SenderAddressFields SenderAddress;

    std::array<QString, 2> CalendarBaseNames{QString(), QStringLiteral("gr1")};

    // Slots 1 to 11; 0 = no race.
    std::array<int16_t, 12> ChosenRaceCodes{};
    std::array<QString, 12> ChosenRaceStakeFiles{};

    int CurrentFancierNo = 1;
    int ListMode = 0;
    int SubMode = 0;
    int UrgentMail = 0;

    // Sets StartDir and the paths that hang on it; creates DataFolder when missing.
    void setStartDir(const QString& startDir);
    // Sets the season year, creates YearFolder when missing and sets its paths.
    void setSeasonYear(int year);
    // Clears the chosen races (a new season opens with none).
    void clearChosenRaces();
    // The codes of the chosen races, slot order, up to the first empty slot.
    QList<int> chosenRaces() const;
    // Fills the club tables and the caption from the club's texts.
    void setClub(const QString& name, const QString& code, int groupNumber);
};

// The one Session of the running program.
Session& session();

} // namespace vt
