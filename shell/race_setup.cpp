#include "race_setup.h"

#include "calendar.h"

#include "entries/amount_owed.h"
#include "entries/stake_blocks.h"
#include "entries/stake_catalogue.h"

#include "common/damage.h"
#include "common/dates.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"

#include "platform/damage_notice.h"

#include <QFileInfo>

#include <cmath>
#include <functional>

namespace vt {

int raceCode(int levelIndex, int race) { return (levelIndex + 1) * 100 + race; }

CalendarRaceRecord writeRaceBase(const QString& calendarPath, const QString& yearFolder,
                                 int race, int levelIndex) {
    const CalendarRaceRecord record = RecordFileOf<CalendarRaceRecord>(calendarPath).read(race);
    const QDate date = calendarDate(record);
    if (!date.isValid())
        throw Error(QStringLiteral("La date du concours n° %1 n'est pas valide : corrigez-la "
                                   "dans le calendrier.")
                        .arg(Right(QString::number(100 + race), 2)));
    const int code = raceCode(levelIndex, race);
    RecordFileOf<RaceBaseRecord> bases(resolveFile(yearFolder, raceFileName("bases", code)));
    RaceBaseRecord base = bases.read(1);
    base.setSiteName(record.siteName());
    base.setCategoryDigit(QString::number(calendarCategory(record)));
    base.setCalendarDateLong(frenchDate(date, QStringLiteral("dd mmmm yyyy")));
    base.setLatitudeDms(record.latitudeDms());
    base.setLongitudeEastDms(record.longitudeEastDms());
    base.setLongitudeWestDms(record.longitudeWestDms());
    base.setLevelIndex(static_cast<float>(levelIndex));
    bases.write(1, base);
    return record;
}

QString chosenRaceSummary(const CalendarRaceRecord& record) {
    const QDate date = calendarDate(record);
    return (date.isValid() ? frenchDate(date, QStringLiteral("dd mmmm yyyy")) : QString()) +
           u' ' + trim(record.siteName()) + u' ' + CategoryNames[calendarCategory(record)];
}

RaceSetupPaths RaceSetupPaths::fromSession(const Session& s) {
    return {s.YearFolder, s.DataFolder, s.FancierFilePath, s.SheetNamesPath};
}

namespace {

bool isKind(const StakeTypeRecord& line, StakeKind kind) {
    return recordKinds(line).testFlag(kind);
}
bool isBetTotalLine(const StakeTypeRecord& l) { return isKind(l, StakeKind::GameTotal); }
bool isFeesLine(const StakeTypeRecord& l) { return isKind(l, StakeKind::Fees); }
bool isResultLine(const StakeTypeRecord& l) { return isKind(l, StakeKind::Result); }

MsgAnswer warn(Dialogs& dialogs, const QString& text, MsgIcon icon = MsgIcon::Exclamation) {
    MessageRequest m;
    m.text = text;
    m.icon = icon;
    return dialogs.message(m);
}

QString sheetFile(const QString& dataFolder, int sheet) {
    return resolveFile(dataFolder, QStringLiteral("gr%1.jeu").arg(sheet));
}

// Asks one amount until the answer is a number (empty counts 0).
float askAmount(Dialogs& dialogs, const QString& title, float current) {
    for (;;) {
        const QString answer = dialogs.input({QString(), title, numberText(current)});
        if (const std::optional<float> v = roundTypedAmount(answer))
            return *v;
        warn(dialogs, QStringLiteral("Tapez un montant, par exemple 12,50."));
    }
}

} // namespace

RaceSetupResult setupRace(Dialogs& dialogs, const RaceSetupPaths& paths, int race,
                          int levelIndex, const CalendarRaceRecord& record) {
    RaceSetupResult result;
    WrittenFiles written;
    const int code = raceCode(levelIndex, race);
    const int category = calendarCategory(record);
    try {
        // Damaged prices and counts read as 0; they are told before anything is stored.
        DamageNotice damage(dialogs);
        RecordFileOf<RaceBaseRecord> bases(
            resolveFile(paths.yearFolder, raceFileName("bases", code)));
        RaceBaseRecord base = bases.read(1);

        // One stake block per fancier: existing blocks keep their counts.
        RecordFileOf<FancierRecord> fanciers(resolvePath(paths.fancierFile));
        const int n = fanciers.count();
        RecordFileOf<StakeAmountBlock> mise(
            resolveFile(paths.yearFolder, raceFileName("mise", code)));
        if (!mise.exists()) {
            mise.create();
            written.add(mise.path());
        }
        if (mise.count() < n) {
            // Padding writes over a record cut short: the user is told before it is.
            const QString cut = incompleteTailNotice(mise);
            if (!cut.isEmpty())
                dialogs.inform(cut, DamageScope::title(), MsgIcon::Exclamation);
            mise.write(n, StakeAmountBlock());
            written.add(mise.path());
        }
        QList<StakeAmountBlock> blocks;
        bool entries = false;
        for (int f = 1; f <= n; ++f) {
            blocks.append(mise.read(f));
            entries = entries || blocks.last().pigeonsEntered() > 0;
        }

        const QList<SheetNameRecord> names =
            RecordFileOf<SheetNameRecord>(resolvePath(paths.sheetNamesPath)).readAll();
        QString sheetList;
        for (int j = 0; j < names.size(); ++j)
            if (!isBlank(names[j].sheetName()))
                sheetList += QStringLiteral("\n %1 %2").arg(j).arg(trim(names[j].sheetName()));
        const int stored = base.stakeSheet();
        const int proposed = stored != 0 ? stored : 1;
        const bool ask = names.size() > 2;
        const QString title = QStringLiteral("JEU POUR ") + trim(record.siteName()) + u' ' +
                              trim(CategoryNames[category]) + u' ' + LevelNames[levelIndex];

        int sheet = 0;
        QList<StakeTypeRecord> lines;
        for (;;) {
            if (ask) {
                const QString answer = dialogs.input({sheetList, title, QString::number(proposed)});
                const TypedNumber t = parseTyped(answer);
                if (t.isEmpty() || (t.isNumber() && t.value == 0))
                    return result;
                const double v = t.value;
                const bool valid = t.isNumber() && v == std::floor(v) && v >= 1 &&
                                   v < names.size() && !isBlank(names[int(v)].sheetName()) &&
                                   QFileInfo::exists(sheetFile(paths.dataFolder, int(v)));
                if (!valid) {
                    warn(dialogs, QStringLiteral("Le jeu n° %1 n'existe pas : tapez un numéro "
                                                 "de la liste (0 pour abandonner).")
                                      .arg(trim(answer)));
                    continue;
                }
                sheet = int(v);
            } else {
                sheet = proposed;
                if (!QFileInfo::exists(sheetFile(paths.dataFolder, sheet))) {
                    warn(dialogs, QStringLiteral("Le jeu n° %1 n'existe pas : le concours "
                                                 "n'est pas ajouté.")
                                      .arg(sheet));
                    return result;
                }
            }
            if (sheet == stored) {
                lines = readStakeLines(resolveFile(paths.yearFolder, raceFileName("basejeu", code)));
                damage.tell();
                break;
            }
            lines = readStakeLines(sheetFile(paths.dataFolder, sheet));
            if (std::none_of(lines.begin(), lines.end(), isBetTotalLine))
                lines += readStakeLines(resolveFile(paths.dataFolder, QStringLiteral("cptenl.jeu")));
            damage.tell();
            if (lines.size() > StakeAmountBlock::MaxLine) {
                warn(dialogs, QStringLiteral("Le jeu n° %1 et les comptes dépassent 100 lignes.")
                                  .arg(sheet));
                if (ask)
                    continue;
                return result;
            }
            if (entries) {
                MessageRequest q;
                q.text = QStringLiteral("Des amateurs sont engagés dans ce concours.\r"
                                        "Changer de jeu recalcule leurs montants. "
                                        "Voulez-vous changer de jeu ?");
                q.title = title;
                q.buttons = MsgButtons::YesNo;
                q.icon = MsgIcon::Question;
                q.defaultButton = MsgAnswer::No;
                if (dialogs.message(q) != MsgAnswer::Yes) {
                    if (ask)
                        continue;
                    return result;
                }
            }
            break;
        }
        const bool changed = sheet != stored;

        const QString where = record.siteName() + CategoryNames[category];
        bool asked = false, repriced = false;
        const auto askLine = [&](const std::function<bool(const StakeTypeRecord&)>& is,
                                 const QString& prefix) {
            for (StakeTypeRecord& line : lines)
                if (is(line)) {
                    const float typed = askAmount(dialogs, prefix + where, line.unitValue());
                    repriced = repriced || typed != line.unitValue();
                    line.setUnitValue(typed);
                    asked = true;
                    return;
                }
        };
        askLine(isFeesLine, QStringLiteral("MONTANT des FRAIS pour "));
        askLine(isResultLine, QStringLiteral("MONTANT du Résultat pour "));

        // A new sheet, or a new fee or result price, changes what the fanciers owe: each
        // amount is what his entry sheet now shows, computed from his counts against the
        // race's lines.
        QList<std::pair<int, FancierRecord>> owed;
        if (changed || repriced) {
            const StakeBlockCheck check(lines);
            for (int f = 1; f <= n; ++f)
                blocks[f - 1] = check.checked(blocks[f - 1], mise.path(), f);
            damage.tell();
            const RaceAmountsOwed amounts(lines);
            for (int f = 1; f <= n; ++f) {
                FancierRecord fancier = fanciers.read(f);
                const std::optional<int32_t> amount = amounts.thousandths(blocks[f - 1]);
                if (!amount)
                    throw Error(QStringLiteral("Le montant dû par %1 pour ce concours est trop "
                                               "grand : le concours n'est pas ajouté.")
                                    .arg(trim(fancier.fancierName())));
                if (fancier.raceAmount(code) != *amount) {
                    fancier.setRaceAmount(code, *amount);
                    owed.append({f, fancier});
                }
            }
        }

        if (changed || asked) {
            RecordFileOf<StakeTypeRecord> stakes(
                resolveFile(paths.yearFolder, raceFileName("basejeu", code)));
            stakes.rewrite(lines);
            written.add(stakes.path());
        }
        if (changed) {
            base.setStakeSheet(static_cast<int16_t>(sheet));
            bases.write(1, base);
            written.add(bases.path());
        }
        // Every fancier's new amount in one rewrite of the file, so that an interruption
        // never leaves some amounts recalculated and others not.
        if (!owed.isEmpty()) {
            fanciers.writeRecords(owed);
            written.add(fanciers.path());
        }
        result.added = true;
        result.sheet = sheet;
        result.chosenLine = ChosenRaceLine(levelIndex, record, code);
    } catch (const Error& e) {
        warn(dialogs,
             QStringLiteral("Le concours n'est pas ajouté : ") + e.message() + written.note(),
             MsgIcon::Critical);
        result = RaceSetupResult{};
    }
    return result;
}

int chosenLineCode(const QString& line) { return static_cast<int>(val(Right(line, 3))); }

bool isAlreadyChosen(const QStringList& chosenLines, int code) {
    const QString ext = raceExtension(code);
    return std::any_of(chosenLines.begin(), chosenLines.end(),
                       [&](const QString& l) { return Right(l, 4) == ext; });
}

void showAlreadyChosen(Dialogs& dialogs, const QString& offeredLine) {
    MessageRequest m;
    m.text = QStringLiteral("Le concours ") + offeredLine + u'\n' +
             QStringLiteral("est déja sélectionné");
    m.icon = MsgIcon::Exclamation;
    dialogs.message(m);
}

int storeChosenRaces(Session& s, const QStringList& chosenLines, int calendarNo) {
    s.clearChosenRaces();
    int i = 0;
    for (const QString& line : chosenLines) {
        if (i == MaxChosenRaces)
            break;
        const int code = chosenLineCode(line);
        if (code <= 0)
            continue;
        ++i;
        s.ChosenRaceCodes[i] = static_cast<int16_t>(code);
        s.ChosenRaceStakeFiles[i] = QStringLiteral("gr%1jeu.").arg(code / 100) +
                                    Right(QString::number(code % 100 + calendarNo * 100), 3);
    }
    return i;
}

} // namespace vt
