#include "entries/recap_prints.h"

#include "common/damage.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"
#include "entries/amount_owed.h"
#include "entries/grid_amount.h"
#include "entries/race_grid.h"
#include "entries/recap_grid.h"
#include "entries/stake_blocks.h"
#include "entries/stake_catalogue.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/print_surface.h"

#include <algorithm>
#include <cmath>
#include <deque>

namespace vt {

QList<int> listedFanciers(const QStringList& recapLines) {
    QList<int> out;
    for (const QString& line : recapLines) {
        if (isBlank(line.mid(47)))
            continue;
        if (const auto n = recapLineRecord(line))
            out.append(*n);
    }
    return out;
}

namespace {

constexpr int RedColor = 255;

QString R(int width, const QString& t) { return rightAlign(t, width); }

// Three decimals, halves away from zero, decimal comma.
QString M(GridAmount a) { return roundDecimalText(a.exactText(), 3); }
QString milliText(long long thousandths) { return M(GridAmount::fromThousandths(thousandths)); }

// The widest of the texts, at least `least` characters.
int widest(const QStringList& texts, int least = 0) {
    int w = least;
    for (const QString& t : texts)
        w = std::max(w, int(t.size()));
    return w;
}

// A heading centred in a column of `width` characters the way the totals per race centre
// it, cut so that a space always follows it.
QString centredHeading(const QString& text, int width) {
    const int n = std::max<int>(0, (width - int(text.size())) / 2);
    return Space(n) + text.left(width - 1 - n);
}

// The characters of the current font that a line of the printable width holds.
int charactersPerLine(const PrintSurface& p) {
    return static_cast<int>(std::floor(p.scaleWidth() / p.columnWidth() + 1e-9));
}

// A unit value as the entry sheet charges it: the value of its unit text, in thousandths.
long long unitMilli(const StakeTypeRecord& line) {
    return valeurThousandths(unitText(line.unitValue())).value_or(0);
}

GridAmount times(long long count, long long unitThousandths) {
    return GridAmount::fromRaw(GridAmount::Raw(count) * unitThousandths * GridAmount::PerThousandth);
}

// The race's files in the season's folder, read without creating any.
struct RaceFiles {
    int code = 0;
    bool hasBase = false;
    RaceBaseRecord base;
    QList<StakeTypeRecord> lines;

    static RaceFiles read(const Session& s, int code) {
        RaceFiles r;
        r.code = code;
        const RecordFileOf<RaceBaseRecord> base(
            resolveFile(s.YearFolder, raceFileName(QStringLiteral("bases"), code)));
        r.hasBase = base.count() > 0;
        r.base = base.read(1);
        r.lines = readStakeLines(
            resolveFile(s.YearFolder, raceFileName(QStringLiteral("basejeu"), code)));
        return r;
    }
    // A category digit that is not 0 to 3 or a level index outside 0 to 3 names nothing.
    QString categoryName() const {
        bool ok = false;
        const int c = trim(base.categoryDigit()).toInt(&ok);
        return hasBase && ok && c >= 0 && c <= 3 ? CategoryNames[c] : QString();
    }
    QString levelName() const {
        const double level = std::nearbyint(base.levelIndex());
        const QString name = hasBase && level >= 0 && level <= 3 ? LevelNames[int(level)] : QString();
        return name.leftJustified(24, u' ');
    }
    QString site() const { return trim(base.siteName()); }
};

QList<RaceFiles> chosenRaceFiles(const Session& s) {
    QList<RaceFiles> out;
    for (int code : s.chosenRaces())
        out.append(RaceFiles::read(s, code));
    return out;
}

// ---------------------------------------------------------------------------------------
// Recapitulation sheets

// A line of a recap sheet, kept as its fields until the sheet's columns are sized.
struct SheetLine {
    enum Kind {
        Body,      // label part (13), unit, quantity, amount
        Total,     // caption (26, ending "= "), amount under the amount column
        Deduction, // "Réglage ... sur ", the game total, " =", the deduction
    } kind = Body;
    QString label;
    QString unit, quantity, amount;
    bool red = false;
    bool startsRightColumn = false;
};

struct RecapSheet {
    QString heading;
    int fanciers = 0, pigeons = 0;
    QList<SheetLine> body;
};

// The telephone costs of one line: a decimal comma or point; empty or cancelled is 0.
long long askTelephoneAmount(Dialogs& dialogs) {
    for (;;) {
        const QString answer =
            dialogs.input({QString(), QStringLiteral("MONTANT des FRAIS de Téléphone"), QString()});
        if (const auto v = valeurThousandths(answer))
            return *v;
        dialogs.inform(QStringLiteral("Le montant « %1 » n'est pas accepté : tapez un nombre "
                                      "d'au plus trois décimales, par exemple 12,50.")
                           .arg(trim(answer)),
                       QStringLiteral("MONTANT des FRAIS de Téléphone"), MsgIcon::Exclamation);
    }
}

RecapSheet buildRecapSheet(Dialogs& dialogs, const RaceFiles& race, const RaceRecapRecord& recap) {
    RecapSheet sheet;
    QString site = race.base.siteName();
    while (site.endsWith(u' '))
        site.chop(1);
    QString date = race.base.calendarDateLong();
    while (date.endsWith(u' '))
        date.chop(1);
    sheet.heading = site + u' ' + race.categoryName() + u' ' + race.levelName() +
                    QStringLiteral(" du ") + date;
    sheet.fanciers = recap.fancierCount();
    sheet.pigeons = recap.total(0);

    const int n = race.lines.size();
    // The recap holds lines 1 to 100; a line beyond counts 0.
    auto count = [&](int k) { return k <= StakeAmountBlock::MaxLine ? int(recap.total(k)) : 0; };
    bool right = false, pendingRight = false, red = false;
    auto add = [&](SheetLine line) {
        line.red = red;
        line.startsRightColumn = pendingRight;
        sheet.body.append(line);
        pendingRight = false;
    };
    auto total = [&](const char* caption, GridAmount amount) {
        add({SheetLine::Total, QString::fromUtf8(caption), {}, {}, M(amount)});
    };
    auto bodyLine = [&](int k, long long unit, const QString& quantity, GridAmount amount) {
        add({SheetLine::Body, race.lines[k - 1].stakeLabel() + Space(5), milliText(unit),
             quantity, M(amount)});
    };

    GridAmount G, F, D, C;
    int k = 1;
    // Bet lines, up to the game total; a long sheet goes on in a right-hand column.
    bool open = false;
    for (; k <= n; ++k) {
        if (k > 33 && n > 35 && !right)
            right = pendingRight = true;
        const StakeTypeRecord& line = race.lines[k - 1];
        const StakeKinds kinds = recordKinds(line);
        const long long unit = unitMilli(line);
        if (kinds.testFlag(StakeKind::GameTotal)) {
            total("           TOTAL DU JEU = ", G);
            open = true;
            ++k;
            break;
        }
        // A "Ri.2" entry is stored as 2 and charged once, as on the entry sheet: the line's
        // total counts each entry twice.
        const GridAmount amount =
            kinds.testFlag(StakeKind::RiTwo)
                ? GridAmount::fromRaw(GridAmount::Raw(count(k)) * unit * GridAmount::PerThousandth /
                                      RiTwoShownCount)
                : times(count(k), unit);
        G += amount;
        const QString code = kinds.testFlag(StakeKind::Poule) && !kinds.testFlag(StakeKind::PouleAs)
                                 ? Space(5)
                                 : line.stakeCode();
        add({SheetLine::Body, line.stakeLabel() + code, milliText(unit),
             QString::number(count(k)), M(amount)});
    }
    // Fees, up to the sub-total: free entries are valued at the fee price and taken off.
    if (open) {
        open = false;
        long long feeUnit = 0;
        for (; k <= n; ++k) {
            const StakeTypeRecord& line = race.lines[k - 1];
            const StakeKinds kinds = recordKinds(line);
            if (kinds.testFlag(StakeKind::SubTotal)) {
                total("             SOUS TOTAL = ", G + F);
                open = true;
                ++k;
                break;
            }
            long long unit = unitMilli(line);
            if (kinds.testFlag(StakeKind::Fees))
                feeUnit = unit;
            if (kinds.testFlag(StakeKind::Free)) {
                unit = feeUnit;
                F -= times(count(k), unit);
            } else {
                F += times(count(k), unit);
            }
            bodyLine(k, unit, QString::number(count(k)), times(count(k), unit));
        }
    }
    // Deductions, in red, up to their total.
    if (open) {
        open = false;
        red = true;
        for (; k <= n; ++k) {
            const StakeTypeRecord& line = race.lines[k - 1];
            const StakeKinds kinds = recordKinds(line);
            const long long unit = unitMilli(line);
            if (kinds.testFlag(StakeKind::DeductionTotal)) {
                total("        TOTAL A DEDUIRE = ", D);
                open = true;
                ++k;
                break;
            }
            if (kinds.testFlag(StakeKind::Deduction)) {
                // A percentage of the game total.
                const GridAmount deduction =
                    GridAmount::fromRaw(GridAmount::Raw(G.thousandths()) * unit);
                D += deduction;
                add({SheetLine::Deduction,
                     QStringLiteral("Réglage ") + strNumber(static_cast<long long>(unit / 1000)) +
                         QStringLiteral(" %") + QStringLiteral(" sur "),
                     {}, M(G), M(deduction)});
            } else if (kinds.testFlag(StakeKind::Telephone)) {
                const long long amount = askTelephoneAmount(dialogs);
                const GridAmount a = GridAmount::fromRaw(GridAmount::Raw(unit) * amount * 100);
                D += a;
                bodyLine(k, unit, milliText(amount), a);
            } else {
                // Rings are charged per pigeon entered.
                const int q = kinds.testFlag(StakeKind::Rings) ? int(recap.total(0)) : count(k);
                D += times(q, unit);
                bodyLine(k, unit, QString::number(q), times(q, unit));
            }
        }
        red = false;
    }
    // Further charges, up to the general total.
    if (open) {
        for (; k <= n; ++k) {
            const StakeTypeRecord& line = race.lines[k - 1];
            const long long unit = unitMilli(line);
            if (recordKinds(line).testFlag(StakeKind::GrandTotal)) {
                total("          TOTAL GENERAL = ", G + F + C - D);
                break;
            }
            C += times(count(k), unit);
            bodyLine(k, unit, QString::number(count(k)), times(count(k), unit));
        }
    }
    return sheet;
}

// The lines of a sheet as texts, the fields of each kept apart: every column is as wide as
// its widest field plus the space before it (the unit and the quantity 6 at least, the
// amount 9), and the totals' amounts stand under the amount column.
QList<QStringList> sheetTexts(const QList<SheetLine>& body) {
    QStringList units, quantities, amounts, totals, bases, deductions;
    for (const SheetLine& l : body) {
        switch (l.kind) {
        case SheetLine::Body:
            units << l.unit;
            quantities << l.quantity;
            amounts << l.amount;
            break;
        case SheetLine::Total:
            totals << l.amount;
            break;
        case SheetLine::Deduction:
            bases << l.quantity;
            deductions << l.amount;
            break;
        }
    }
    const int uw = widest(units, 5) + 1, qw = widest(quantities, 5) + 1;
    int aw = widest(amounts, 8) + 1;
    aw += std::max(0, widest(totals) - (13 + uw + qw + aw - 26));
    const int tw = 13 + uw + qw + aw - 26;
    const int bw = widest(bases, 8), dw = widest(deductions, 6) + 1;
    QList<QStringList> out;
    for (const SheetLine& l : body) {
        switch (l.kind) {
        case SheetLine::Body:
            out.append({l.label, R(uw, l.unit), R(qw, l.quantity), R(aw, l.amount)});
            break;
        case SheetLine::Total:
            out.append({l.label, R(tw, l.amount)});
            break;
        case SheetLine::Deduction:
            out.append({l.label + R(bw, l.quantity) + QStringLiteral(" ="), R(dw, l.amount)});
            break;
        }
    }
    return out;
}

// A line of fields in at most `room` characters: the fields that do not fit go on below,
// right-aligned to the end of the room.
QStringList fitLine(const QStringList& fields, int room) {
    QStringList lines{QString()};
    for (const QString& f : fields) {
        if (!lines.last().isEmpty() && lines.last().size() + f.size() > room)
            lines.append(QString());
        lines.last() += f;
    }
    for (qsizetype i = 1; i < lines.size(); ++i)
        lines[i] = R(room, trim(lines[i]));
    return lines;
}

void drawRecapSheet(PrintSurface& p, const QString& club, const RecapSheet& sheet) {
    p.setFontSize(13);
    p.nextZone();
    p.printLine(QStringLiteral("SOCIETE de ") + club);
    p.printLine();
    p.printLine(sheet.heading);
    p.printLine();
    p.printLine(QStringLiteral("Nombre d'Amateurs   ") + R(6, QString::number(sheet.fanciers)));
    p.printLine(QStringLiteral("Nombre de Pigeons   ") + R(6, QString::number(sheet.pigeons)));
    p.printLine();

    // The right-hand column of a long sheet starts at half the width, or further right
    // when the left one is wider, or further left when its own lines need the room; lines
    // that still do not fit go on below.
    const QList<QStringList> texts = sheetTexts(sheet.body);
    qsizetype split = sheet.body.size();
    for (qsizetype i = 0; i < sheet.body.size(); ++i)
        if (sheet.body[i].startsRightColumn) {
            split = i;
            break;
        }
    auto widthOf = [&](qsizetype from, qsizetype to) {
        int w = 0;
        for (qsizetype i = from; i < to; ++i)
            w = std::max(w, int(texts[i].join(QString()).size()));
        return w;
    };
    const double cw = p.columnWidth();
    const int perLine = charactersPerLine(p);
    double rightX = p.scaleWidth() / 2;
    int leftRoom = perLine, rightRoom = 0;
    if (split < sheet.body.size()) {
        const int leftWidth = widthOf(0, split), rightWidth = widthOf(split, sheet.body.size());
        const double fromLeft = (leftWidth + 1) * cw, fromRight = p.scaleWidth() - rightWidth * cw;
        if (fromLeft <= fromRight)
            rightX = std::clamp(rightX, fromLeft, fromRight);
        else // the left column stays whole; the long lines of the right one go on below
            rightX = std::max(rightX, std::min(fromLeft, p.scaleWidth() - 26 * cw));
        leftRoom = std::max(1, int(std::floor(rightX / cw + 1e-9)) - 1);
        rightRoom = std::max(1, int(std::floor((p.scaleWidth() - rightX) / cw + 1e-9)));
    }

    const double y0 = p.currentY();
    double x = 0;
    int room = leftRoom;
    for (qsizetype i = 0; i < sheet.body.size(); ++i) {
        const SheetLine& line = sheet.body[i];
        if (line.startsRightColumn) {
            x = rightX;
            room = rightRoom;
            p.setCurrentY(y0);
        }
        p.setForeColor(line.red ? RedColor : 0);
        for (const QString& text : fitLine(texts[i], room)) {
            p.setCurrentX(x);
            p.printLine(text);
        }
    }
    p.setForeColor(0);
    p.newPage();
}

// Runs a print job; a failure is shown, the document is closed and the job abandoned.
template <class F> QString runJob(Dialogs& dialogs, PrintSurface& p, const QString& name, F&& body) {
    bool begun = false;
    // Starts the document: millimetres, "Courier New", the job's orientation.
    auto start = [&](Orientation o) {
        p.beginDocument(name);
        begun = true;
        p.setScaleMillimetres(0);
        p.setFontName(QStringLiteral("Courier New"));
        p.setOrientation(o);
    };
    try {
        return body(start);
    } catch (const Error& e) {
        if (begun) {
            try {
                p.endDocument();
            } catch (const Error&) {
            }
        }
        dialogs.inform(QStringLiteral("L'impression « %1 » a échoué : %2").arg(name, e.message()),
                       name, MsgIcon::Exclamation);
    }
    return QString();
}

} // namespace

QString printClubRecaps(Dialogs& dialogs, PrintSurface& p, const Session& s,
                        const PrintStatus& status, PrintProgress& progress) {
    if (status)
        status(QStringLiteral("Patientez impression en cours"));
    const QString name = QStringLiteral("Récapitulatifs");
    QString result = runJob(dialogs, p, name, [&](const auto& start) {
        DamageNotice damage(dialogs);
        // Every sheet is built, and every question asked, before anything is printed.
        QList<RecapSheet> sheets;
        QStringList neverStored;
        for (const RaceFiles& race : chosenRaceFiles(s)) {
            const RecordFileOf<RaceRecapRecord> recap(
                resolveFile(s.YearFolder, raceFileName(QStringLiteral("recap"), race.code)));
            if (!recap.exists())
                neverStored << QStringLiteral("Récapitulatif non mémorisé : %1 (%2)")
                                   .arg(race.site(), raceExtension(race.code).mid(1));
            sheets.append(buildRecapSheet(dialogs, race, checkedRecap(recap.read(1), recap.path(), 1)));
        }
        if (!neverStored.isEmpty())
            dialogs.inform(neverStored.join(u'\n'), name, MsgIcon::Exclamation);
        damage.tell();
        start(Orientation::Portrait);
        p.setBold(true);
        p.setItalic(true);
        for (qsizetype i = 0; i < sheets.size(); ++i) {
            if (!progress.next(int(i), int(sheets.size()), sheets[i].heading.simplified()))
                break;
            drawRecapSheet(p, s.ClubNames.value(1), sheets[i]);
        }
        const QString where = p.endDocument();
        p.setItalic(false);
        return where;
    });
    if (status)
        status(QString());
    return result;
}

QString printRaceTotals(Dialogs& dialogs, PrintSurface& p, const Session& s,
                        const QList<int>& fanciers, PrintProgress& progress) {
    const QString name = QStringLiteral("Totaux par concours");
    return runJob(dialogs, p, name, [&](const auto& start) {
        DamageNotice damage(dialogs);
        const QList<RaceFiles> races = chosenRaceFiles(s);
        const int n = races.size();
        const RecordFileOf<FancierRecord> names(s.FancierFilePath);
        checkWholeRecords(names);

        // Everything is read first, so that the columns take the widest amount.
        struct Row {
            QString name;
            QStringList amounts; // per race, empty when he owes nothing
            QString total;       // empty with one race
        };
        QList<Row> rows;
        QList<long long> raceTotals(n, 0);
        long long grand = 0;
        for (qsizetype k = 0; k < fanciers.size(); ++k) {
            const FancierRecord f = names.read(fanciers[k]);
            if (!progress.next(int(k), int(fanciers.size()), trim(f.fancierName())))
                break;
            Row row{f.fancierName(), {}, {}};
            long long rowTotal = 0;
            for (int i = 0; i < n; ++i) {
                const long long a = checkedRaceAmount(f, races[i].code, names.path(), fanciers[k]);
                row.amounts << (a > 0 ? milliText(a) : QString());
                if (a > 0) {
                    rowTotal += a;
                    raceTotals[i] += a;
                }
            }
            if (n > 1)
                row.total = milliText(rowTotal);
            rows.append(row);
        }
        QStringList totals, sites, levels, rowTotals;
        for (int i = 0; i < n; ++i) {
            totals << (raceTotals[i] > 0 ? milliText(raceTotals[i]) : QString());
            grand += raceTotals[i];
            sites << (races[i].hasBase ? upperCase(races[i].site()) : QString());
            levels << trim(races[i].levelName());
        }
        const QString grandText = milliText(grand);
        for (const Row& r : rows)
            rowTotals << r.total;

        // A race column is 9 characters, or one more than its widest text (an amount or a
        // heading of at most 9 characters) so that a space always comes before the next
        // column; the totals column is 10, or one more than its widest amount.
        QStringList columnTexts = totals;
        for (const Row& r : rows)
            columnTexts << r.amounts;
        for (const QString& h : sites + levels)
            columnTexts << h.left(9);
        const int w = widest(columnTexts, 8) + 1;
        const int tw = widest(rowTotals + QStringList{grandText}, 9) + 1;

        // Eleven races take 133 columns: 9 points fit them on a landscape sheet. Wider
        // columns take a smaller size, down to 7 points; beyond, a row goes on below, from
        // the first race column.
        damage.tell();
        start(Orientation::Landscape);
        const int needed = 24 + n * w + tw;
        double size = 9;
        p.setFontSize(size);
        while (charactersPerLine(p) < needed && size > 7) {
            size -= 0.5;
            p.setFontSize(size);
        }
        const int perLine = std::clamp((charactersPerLine(p) - 24 - tw) / w, 1, std::max(n, 1));
        // The races of each printed line: [first, last).
        QList<std::pair<int, int>> parts;
        for (int first = 0; first < n || parts.isEmpty(); first += perLine)
            parts.append({first, std::min(n, first + perLine)});

        // The amount cells of one part of a row; the totals column after the last part.
        auto cells = [&](const QStringList& amounts, int part, const QString& total) {
            QString line;
            for (int i = parts[part].first; i < parts[part].second; ++i)
                line += amounts[i].isEmpty() ? Space(w) : R(w, amounts[i]);
            if (part == parts.size() - 1 && !total.isNull())
                line += R(tw, total);
            return line;
        };

        p.setCurrentY(0);
        for (int part = 0; part < parts.size(); ++part) {
            QString siteLine = Space(26), levelLine = Space(26);
            for (int i = parts[part].first; i < parts[part].second; ++i) {
                siteLine += centredHeading(sites[i], w).leftJustified(w, u' ');
                levelLine += centredHeading(levels[i], w).leftJustified(w, u' ');
            }
            if (part == parts.size() - 1)
                levelLine += R(tw - 2, QStringLiteral("TOTAUX"));
            p.printLine(siteLine);
            p.printLine(levelLine);
        }
        for (const Row& r : rows)
            for (int part = 0; part < parts.size(); ++part)
                p.printLine((part == 0 ? u' ' + r.name : Space(24)) +
                            cells(r.amounts, part, n > 1 ? r.total : QString()));
        p.printLine();
        p.setBold(true);
        for (int part = 0; part < parts.size(); ++part)
            p.printLine(Space(24) + cells(totals, part, grandText));
        const QString where = p.endDocument();
        p.setOrientation(Orientation::Portrait);
        return where;
    });
}

namespace {

enum class DetailColumn { Count, BetsTotal, SubTotal };

DetailColumn columnKind(const StakeTypeRecord& line) {
    const StakeKinds kinds = recordKinds(line);
    if (kinds.testFlag(StakeKind::GameTotal))
        return DetailColumn::BetsTotal;
    if (trim(line.stakeLabel()) == QLatin1String("S/total"))
        return DetailColumn::SubTotal;
    return DetailColumn::Count;
}

// One line of a race's detail: the name part (23 characters, or 23 spaces), the pigeons,
// then one text per stake column.
struct DetailLine {
    QString name;
    QString pigeons;
    QStringList columns;
};

} // namespace

QString printFancierDetail(Dialogs& dialogs, PrintSurface& p, const Session& s,
                           const QList<int>& fanciers, PrintProgress& progress) {
    const QString name = QStringLiteral("Détail par amateur");
    return runJob(dialogs, p, name, [&](const auto& start) {
        DamageNotice damage(dialogs);
        const QList<RaceFiles> races = chosenRaceFiles(s);
        const RecordFileOf<FancierRecord> names(s.FancierFilePath);
        checkWholeRecords(names);

        // Each race's stake columns up to its S/total, and the lines of its fanciers.
        struct RaceDetail {
            const RaceFiles& race;
            RecordFileOf<StakeAmountBlock> stakes;
            RaceAmountsOwed owed;
            StakeBlockCheck check;
            int last = 0;
            QList<DetailColumn> kinds;
            QList<long long> countTotals;
            QList<GridAmount> amountTotals;
            QList<DetailLine> rows;
            RaceDetail(const Session& s, const RaceFiles& r)
                : race(r),
                  stakes(resolveFile(s.YearFolder, raceFileName(QStringLiteral("mise"), r.code))),
                  owed(r.lines), check(r.lines) {
                checkWholeRecords(stakes);
                for (int j = 1; j <= race.lines.size(); ++j)
                    if (trim(race.lines[j - 1].stakeLabel()) == QLatin1String("S/total"))
                        last = j;
                for (int j = 1; j <= last; ++j)
                    kinds.append(columnKind(race.lines[j - 1]));
                countTotals = QList<long long>(last + 1, 0);
                amountTotals = QList<GridAmount>(last + 1);
            }
        };
        std::deque<RaceDetail> details;
        for (const RaceFiles& race : races)
            details.emplace_back(s, race);

        // Each fancier's columns are his entry sheet's: the counts it shows and what it
        // charges, so that his S/total is what he owes. A fancier's lines of every race
        // are read together, so that a stopped run prints the same fanciers in each race.
        for (qsizetype k = 0; k < fanciers.size(); ++k) {
            const int recordNo = fanciers[k];
            const QString fancierName = names.read(recordNo).fancierName();
            if (!progress.next(int(k), int(fanciers.size()), trim(fancierName)))
                break;
            for (RaceDetail& d : details) {
                const StakeAmountBlock block =
                    d.check.checked(d.stakes.read(recordNo), d.stakes.path(), recordNo);
                if (!(block.pigeonsEntered() > 0))
                    continue;
                const RaceGrid grid = d.owed.grid(block);
                DetailLine row{fancierName, QString::number(grid.pigeonsEntered()), {}};
                d.countTotals[0] += grid.pigeonsEntered();
                GridAmount running;
                for (int j = 1; j <= d.last; ++j) {
                    const GridRow& line = grid.row(j + 1);
                    running += line.charge;
                    if (d.kinds[j - 1] == DetailColumn::Count) {
                        d.countTotals[j] += line.count;
                        row.columns << QString::number(line.count);
                    } else {
                        d.amountTotals[j] += running;
                        row.columns << M(running);
                    }
                }
                d.rows.append(row);
            }
        }

        // The page of each race is laid out once its rows are known.
        damage.tell();
        start(Orientation::Landscape);
        p.setBold(true);
        p.setItalic(true);
        for (const RaceDetail& d : details) {
            const RaceFiles& race = d.race;
            const int last = d.last;
            const QList<DetailColumn>& kinds = d.kinds;
            const QList<long long>& countTotals = d.countTotals;
            const QList<GridAmount>& amountTotals = d.amountTotals;
            const QList<DetailLine>& rows = d.rows;
            p.setFontSize(9);
            p.printLine();
            p.tab(26);
            p.printLine(upperCase(race.site()) + u' ' + race.categoryName() + u' ' +
                        race.levelName() + QStringLiteral(" du ") + race.base.calendarDateLong());
            DetailLine totals{Space(23), QString::number(countTotals[0]), {}};
            for (int j = 1; j <= last; ++j)
                totals.columns << (kinds[j - 1] == DetailColumn::Count
                                       ? QString::number(countTotals[j])
                                       : M(amountTotals[j]));

            // A count column is 4 characters and an amount column 9, or one more than the
            // widest text of its kind on the page, so that a space always comes before it.
            QStringList counts{totals.pigeons}, amounts;
            for (const DetailLine& l : rows + QList<DetailLine>{totals}) {
                counts << l.pigeons;
                for (int j = 1; j <= last; ++j)
                    (kinds[j - 1] == DetailColumn::Count ? counts : amounts) << l.columns[j - 1];
            }
            const int cw = widest(counts, 3) + 1;
            const int aw = widest(amounts, 8) + 1;
            const auto width = [&](int j) { return kinds[j - 1] == DetailColumn::Count ? cw : aw; };

            // After 25 stake columns, or before a column that would pass the printable
            // width, the line goes on below, from column 24; every line of the page breaks
            // at the same columns.
            const int perLine = charactersPerLine(p);
            QList<bool> breakBefore(last + 1, false);
            for (int j = 1, counter = 0, x = 23 + cw; j <= last; ++j) {
                if (++counter > 25 || x + width(j) > perLine) {
                    breakBefore[j] = true;
                    counter = 0;
                    x = 23;
                }
                x += width(j);
            }
            const auto printLine = [&](const DetailLine& l, bool emptyAfter) {
                p.print(l.name + R(cw, l.pigeons));
                for (int j = 1; j <= last; ++j) {
                    if (breakBefore[j]) {
                        p.endLine();
                        p.print(Space(23));
                    }
                    p.print(R(width(j), l.columns[j - 1]));
                }
                p.endLine();
                if (emptyAfter)
                    p.endLine();
            };

            DetailLine head{Space(23), QStringLiteral("Pig."), {}};
            for (int j = 1; j <= last; ++j) {
                switch (kinds[j - 1]) {
                case DetailColumn::BetsTotal: head.columns << QStringLiteral("Total "); break;
                case DetailColumn::SubTotal: head.columns << QStringLiteral("S/total"); break;
                case DetailColumn::Count:
                    head.columns << trim(race.lines[j - 1].stakeCode()).left(3);
                    break;
                }
            }
            printLine(head, false);
            // A row that ends with its sub-total leaves an empty line under it.
            const bool endsWithSubTotal = last > 0 && kinds[last - 1] == DetailColumn::SubTotal;
            for (const DetailLine& row : rows)
                printLine(row, endsWithSubTotal);
            p.endLine();
            printLine(totals, false);
            p.newPage();
        }
        const QString where = p.endDocument();
        p.setOrientation(Orientation::Portrait);
        p.setItalic(false);
        return where;
    });
}

} // namespace vt
