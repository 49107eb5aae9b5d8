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

// Asks one amount until the answer is a number that is not negative (empty counts 0).
float askAmount(Dialogs& dialogs, const QString& title, float current) {
    for (;;) {
        const QString answer = dialogs.input({QString(), title, numberText(current)});
        const std::optional<float> v = roundTypedAmount(answer);
        if (v && *v >= 0)
            return *v;
        warn(dialogs, v ? QStringLiteral("Un montant ne peut pas être négatif : tapez par exemple "
                                         "12,50 (0 pour aucun).")
                        : QStringLiteral("Tapez un montant, par exemple 12,50."));
    }
}

// What the set-up of one race works with.
struct RaceSetup {
    Dialogs& dialogs;
    // Damaged prices and counts read as 0; they are told before anything is stored.
    mutable DamageNotice damage;
    const RaceSetupPaths& paths;
    int code = 0;
    QString title; // of the sheet question and the change question
    QString where; // the site and category, in the price questions
    RecordFileOf<FancierRecord> fanciers;
    RecordFileOf<StakeAmountBlock> mise;
    RecordFileOf<StakeTypeRecord> stakes; // the race's own lines, basejeu.<code>
    QList<StakeTypeRecord> storedLines;   // the race's own lines, as read at the start
    QList<StakeAmountBlock> blocks;       // block f - 1 = fancier f
    bool entries = false;                 // a fancier has pigeons entered

    RaceSetup(Dialogs& d, const RaceSetupPaths& p, int race, int levelIndex,
              const CalendarRaceRecord& record)
        : dialogs(d), damage(d), paths(p), code(raceCode(levelIndex, race)),
          fanciers(resolvePath(p.fancierFile)),
          mise(resolveFile(p.yearFolder, raceFileName("mise", code))),
          stakes(resolveFile(p.yearFolder, raceFileName("basejeu", code))) {
        const int category = calendarCategory(record);
        title = QStringLiteral("JEU POUR ") + trim(record.siteName()) + u' ' +
                trim(CategoryNames[category]) + u' ' + LevelNames[levelIndex];
        where = record.siteName() + CategoryNames[category];
    }
};

// One stake block per fancier: existing blocks keep their counts, missing ones are zeros.
void readStakeBlocks(RaceSetup& r, WrittenFiles& written) {
    const int n = r.fanciers.count();
    if (!r.mise.exists()) {
        r.mise.create();
        written.add(r.mise.path());
    }
    if (r.mise.count() < n) {
        // Padding writes over a record cut short: the user is told before it is.
        const QString cut = incompleteTailNotice(r.mise);
        if (!cut.isEmpty())
            r.dialogs.inform(cut, DamageScope::title(), MsgIcon::Exclamation);
        r.mise.write(n, StakeAmountBlock());
        written.add(r.mise.path());
    }
    for (int f = 1; f <= n; ++f) {
        r.blocks.append(r.mise.read(f));
        r.entries = r.entries || r.blocks.last().pigeonsEntered() > 0;
    }
}

// The named sheet slots, one line each: "\n <slot> <name>".
QString sheetList(const QList<SheetNameRecord>& names) {
    QString list;
    for (int j = 0; j < names.size(); ++j)
        if (!isBlank(names[j].sheetName()))
            list += QStringLiteral("\n %1 %2").arg(j).arg(trim(names[j].sheetName()));
    return list;
}

// The lines of stake sheet `sheet`, with the accounts lines when it has no bets total;
// nullopt (said) when they pass 100 lines.
std::optional<QList<StakeTypeRecord>> sheetLines(const RaceSetup& r, int sheet) {
    QList<StakeTypeRecord> lines = readStakeLines(sheetFile(r.paths.dataFolder, sheet));
    if (std::none_of(lines.begin(), lines.end(), isBetTotalLine))
        lines += readStakeLines(resolveFile(r.paths.dataFolder, QStringLiteral("cptenl.jeu")));
    r.damage.tell();
    if (lines.size() > StakeAmountBlock::MaxLine) {
        warn(r.dialogs, QStringLiteral("Le jeu n° %1 et les comptes dépassent 100 lignes.").arg(sheet));
        return std::nullopt;
    }
    return lines;
}

// With fanciers entered, a change of sheet is asked first (No by default), naming the
// lines whose counts the new sheet cannot hold.
bool confirmSheetChange(const RaceSetup& r, const QList<StakeTypeRecord>& lines) {
    if (!r.entries)
        return true;
    const QStringList dropped = SheetChange(r.storedLines, lines).droppedLines(r.blocks);
    MessageRequest q;
    q.text = QStringLiteral("Des amateurs sont engagés dans ce concours.\r"
                            "Changer de jeu recalcule leurs montants.");
    if (!dropped.isEmpty()) {
        // Each name once (a sheet may hold several lines of one name), and at most ten,
        // so that the question fits the screen whatever the sheet.
        QStringList names;
        for (const QString& name : dropped)
            if (!names.contains(name))
                names.append(name);
        constexpr int Shown = 10;
        QString named = QStringLiteral("« %1 »").arg(names.mid(0, Shown).join(QStringLiteral(" », « ")));
        if (names.size() > Shown)
            named += names.size() - Shown == 1 ? QStringLiteral(" et 1 autre")
                                                : QStringLiteral(" et %1 autres").arg(names.size() - Shown);
        q.text += QStringLiteral("\rLe nouveau jeu n'a pas %1 %2 : les nombres engagés %3 "
                                 "seront effacés.\r")
                      .arg(dropped.size() == 1 ? QStringLiteral("la ligne") : QStringLiteral("les lignes"),
                           named,
                           dropped.size() == 1 ? QStringLiteral("sur cette ligne")
                                               : QStringLiteral("sur ces lignes"));
    } else
        q.text += u' ';
    q.text += QStringLiteral("Voulez-vous changer de jeu ?");
    q.title = r.title;
    q.buttons = MsgButtons::YesNo;
    q.icon = MsgIcon::Question;
    q.defaultButton = MsgAnswer::No;
    return r.dialogs.message(q) == MsgAnswer::Yes;
}

struct SheetChoice {
    int sheet = 0;
    QList<StakeTypeRecord> lines;
};

// The sheet of the race: asked when there are more than two sheet names (0 or an empty
// answer abandons), else the stored one or 1. nullopt: the set-up is abandoned.
std::optional<SheetChoice> chooseSheet(const RaceSetup& r, int stored) {
    const QList<SheetNameRecord> names =
        RecordFileOf<SheetNameRecord>(resolvePath(r.paths.sheetNamesPath)).readAll();
    const int proposed = stored != 0 ? stored : 1;
    const bool ask = names.size() > 2;
    for (;;) {
        int sheet = proposed;
        if (ask) {
            const QString answer = r.dialogs.input({sheetList(names), r.title, QString::number(proposed)});
            const TypedNumber t = parseTyped(answer);
            if (t.isEmpty() || (t.isNumber() && t.value == 0))
                return std::nullopt;
            const double v = t.value;
            if (!(t.isNumber() && v == std::floor(v) && v >= 1 && v < names.size() &&
                  !isBlank(names[int(v)].sheetName()) &&
                  QFileInfo::exists(sheetFile(r.paths.dataFolder, int(v))))) {
                warn(r.dialogs, QStringLiteral("Le jeu n° %1 n'existe pas : tapez un numéro de la "
                                               "liste (0 pour abandonner).")
                                    .arg(trim(answer)));
                continue;
            }
            sheet = int(v);
        } else if (!QFileInfo::exists(sheetFile(r.paths.dataFolder, sheet))) {
            warn(r.dialogs, QStringLiteral("Le jeu n° %1 n'existe pas : le concours n'est pas "
                                           "ajouté.")
                                .arg(sheet));
            return std::nullopt;
        }
        if (sheet == stored)
            return SheetChoice{sheet, r.storedLines};
        const std::optional<QList<StakeTypeRecord>> lines = sheetLines(r, sheet);
        if (lines && confirmSheetChange(r, *lines))
            return SheetChoice{sheet, *lines};
        if (!ask)
            return std::nullopt;
    }
}

// The FRAIS and Résultat prices, each of the first such line. Returns whether one was
// asked; `repriced` tells whether one changed.
bool askPrices(const RaceSetup& r, QList<StakeTypeRecord>& lines, bool& repriced) {
    bool asked = false;
    const auto askLine = [&](bool (*is)(const StakeTypeRecord&), const QString& prefix) {
        const auto line = std::find_if(lines.begin(), lines.end(), is);
        if (line == lines.end())
            return;
        const float typed = askAmount(r.dialogs, prefix + r.where, line->unitValue());
        repriced = repriced || typed != line->unitValue();
        line->setUnitValue(typed);
        asked = true;
    };
    askLine(isFeesLine, QStringLiteral("MONTANT des FRAIS pour "));
    askLine(isResultLine, QStringLiteral("MONTANT du Résultat pour "));
    return asked;
}

// After a change of sheet or price: each fancier's block laid out as the race's lines and
// stored as his entry sheet would save it, and his amount owed what that sheet shows.
struct Recalculated {
    QList<StakeAmountBlock> blocks;
    QList<std::pair<int, FancierRecord>> owed; // the fanciers whose amount changes
};

Recalculated recalculate(const RaceSetup& r, const QList<StakeTypeRecord>& lines) {
    Recalculated out;
    const QList<StakeTypeRecord> old = r.storedLines;
    const SheetChange change(old, lines);
    const RaceAmountsOwed amounts(lines);
    // A damaged count (as the old lines read it) is told and carried as 0.
    const StakeBlockCheck check(old);
    QList<StakeAmountBlock> blocks;
    for (int f = 1; f <= r.blocks.size(); ++f)
        blocks.append(check.checked(r.blocks[f - 1], r.mise.path(), f));
    r.damage.tell();
    for (int f = 1; f <= blocks.size(); ++f) {
        out.blocks.append(amounts.savedBlock(change.carry(blocks[f - 1])));
        FancierRecord fancier = r.fanciers.read(f);
        const std::optional<int32_t> amount = amounts.thousandths(out.blocks.last());
        if (!amount)
            throw Error(QStringLiteral("Le montant dû par %1 pour ce concours est trop grand : le "
                                       "concours n'est pas ajouté.")
                            .arg(trim(fancier.fancierName())));
        if (fancier.raceAmount(r.code) != *amount) {
            fancier.setRaceAmount(r.code, *amount);
            out.owed.append({f, fancier});
        }
    }
    return out;
}

// Writes what changed: the race's lines, its sheet number, the blocks and the amounts,
// each file whole, so that an interruption never leaves some fanciers recalculated and
// others not.
void writeSetup(RaceSetup& r, const SheetChoice& choice, bool changed, bool asked,
                const std::optional<Recalculated>& recalculated, WrittenFiles& written) {
    if (changed || asked) {
        r.stakes.rewrite(choice.lines);
        written.add(r.stakes.path());
    }
    if (changed) {
        RecordFileOf<RaceBaseRecord> bases(resolveFile(r.paths.yearFolder, raceFileName("bases", r.code)));
        RaceBaseRecord base = bases.read(1);
        base.setStakeSheet(static_cast<int16_t>(choice.sheet));
        bases.write(1, base);
        written.add(bases.path());
    }
    if (!recalculated)
        return;
    QList<std::pair<int, StakeAmountBlock>> blocks;
    bool blocksChanged = false;
    for (int f = 1; f <= recalculated->blocks.size(); ++f) {
        blocks.append({f, recalculated->blocks[f - 1]});
        blocksChanged = blocksChanged || blocks.last().second.bytes() != r.blocks[f - 1].bytes();
    }
    if (blocksChanged) {
        r.mise.writeRecords(blocks);
        written.add(r.mise.path());
    }
    if (!recalculated->owed.isEmpty()) {
        r.fanciers.writeRecords(recalculated->owed);
        written.add(r.fanciers.path());
    }
}

} // namespace

RaceSetupResult setupRace(Dialogs& dialogs, const RaceSetupPaths& paths, int race,
                          int levelIndex, const CalendarRaceRecord& record) {
    WrittenFiles written;
    try {
        RaceSetup r(dialogs, paths, race, levelIndex, record);
        // Read once: a damaged price reads as 0 and is told before anything is stored.
        r.storedLines = readStakeLines(r.stakes.path());
        r.damage.tell();
        readStakeBlocks(r, written);
        const int stored =
            RecordFileOf<RaceBaseRecord>(resolveFile(paths.yearFolder, raceFileName("bases", r.code)))
                .read(1)
                .stakeSheet();
        std::optional<SheetChoice> choice = chooseSheet(r, stored);
        if (!choice)
            return {};
        const bool changed = choice->sheet != stored;
        bool repriced = false;
        const bool asked = askPrices(r, choice->lines, repriced);
        std::optional<Recalculated> recalculated;
        if (changed || repriced)
            recalculated = recalculate(r, choice->lines);
        writeSetup(r, *choice, changed, asked, recalculated, written);
        return {true, ChosenRaceLine(levelIndex, record, r.code), choice->sheet};
    } catch (const Error& e) {
        warn(dialogs, QStringLiteral("Le concours n'est pas ajouté : ") + e.message() + written.note(),
             MsgIcon::Critical);
    }
    return {};
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
