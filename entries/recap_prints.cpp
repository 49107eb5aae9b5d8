#include "entries/recap_prints.h"

#include "common/damage.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"
#include "entries/amount_owed.h"
#include "entries/grid_amount.h"
#include "entries/race_grid.h"
#include "entries/recap_grid.h"
#include "entries/recap_store.h"
#include "entries/stake_blocks.h"
#include "entries/stake_catalogue.h"
#include "platform/damage_notice.h"
#include "platform/dialogs.h"
#include "platform/print_surface.h"

#include <algorithm>
#include <cmath>

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

// The lines of one race's recap sheet, section after section as the race's lines hold
// them (RecapSheetSections), with the running totals: G the game, F the fees, D the
// deductions, C the further charges.
class RecapSheetBuilder {
public:
    RecapSheetBuilder(Dialogs& dialogs, const RaceFiles& race, const RaceRecapRecord& recap)
        : m_dialogs(dialogs), m_race(race), m_recap(recap), m_sections(race.lines) {}

    RecapSheet build() {
        m_sheet.heading = heading();
        m_sheet.fanciers = m_recap.fancierCount();
        m_sheet.pigeons = m_recap.total(0);
        const int n = static_cast<int>(m_race.lines.size());
        const int ends[] = {m_sections.gameTotal, m_sections.subTotal, m_sections.deductionTotal,
                            m_sections.grandTotal};
        int k = 1;
        for (int section = 0; section < 4; ++section) {
            const int end = ends[section] ? ends[section] : n + 1;
            for (; k < end; ++k)
                line(section, k);
            if (ends[section] == 0)
                break;
            sectionTotal(section);
            ++k;
        }
        return m_sheet;
    }

private:
    QString heading() const {
        QString site = m_race.base.siteName(), date = m_race.base.calendarDateLong();
        while (site.endsWith(u' '))
            site.chop(1);
        while (date.endsWith(u' '))
            date.chop(1);
        return site + u' ' + m_race.categoryName() + u' ' + m_race.levelName() +
               QStringLiteral(" du ") + date;
    }
    // The recap holds lines 1 to 100; a line beyond counts 0.
    int count(int k) const { return k <= StakeAmountBlock::MaxLine ? int(m_recap.total(k)) : 0; }

    void add(SheetLine l) {
        l.red = m_red;
        l.startsRightColumn = m_pendingRight;
        m_sheet.body.append(l);
        m_pendingRight = false;
    }
    void bodyLine(int k, long long unit, const QString& quantity, GridAmount amount) {
        add({SheetLine::Body, m_race.lines[k - 1].stakeLabel() + Space(5), milliText(unit),
             quantity, M(amount)});
    }
    // A line of a charged count: unit x count added to `sum` (taken off on free entries).
    void countedLine(int k, long long unit, int q, GridAmount& sum, bool takenOff = false) {
        const GridAmount amount = times(q, unit);
        sum = takenOff ? sum - amount : sum + amount;
        bodyLine(k, unit, QString::number(q), amount);
    }

    void line(int section, int k) {
        switch (section) {
        case 0: return betLine(k);
        case 1: return feeLine(k);
        case 2: return deductionLine(k);
        default: return countedLine(k, unitMilli(m_race.lines[k - 1]), count(k), m_C);
        }
    }
    // The end line of a section: its total under the amount column; the deductions end
    // the lines in red.
    void sectionTotal(int section) {
        if (section == 0 && m_race.lines.size() > 35 && m_sections.gameTotal > 33 && !m_right)
            m_right = m_pendingRight = true;
        static const char* const captions[] = {
            "           TOTAL DU JEU = ", "             SOUS TOTAL = ",
            "        TOTAL A DEDUIRE = ", "          TOTAL GENERAL = "};
        const GridAmount amounts[] = {m_G, m_G + m_F, m_D, m_G + m_F + m_C - m_D};
        add({SheetLine::Total, QString::fromUtf8(captions[section]), {}, {}, M(amounts[section])});
        m_red = section == 1; // the deductions follow the sub-total, in red
    }

    // A bet line; a long sheet goes on in a right-hand column from line 34. A "Ri.2" line
    // holds 2 for each entry and charges it once: it shows its number of entries, so that
    // unit x entries is the amount.
    void betLine(int k) {
        if (k > 33 && m_race.lines.size() > 35 && !m_right)
            m_right = m_pendingRight = true;
        const StakeTypeRecord& line = m_race.lines[k - 1];
        const StakeKinds kinds = recordKinds(line);
        const long long unit = unitMilli(line);
        const int q = kinds.testFlag(StakeKind::RiTwo) ? count(k) / int(RiTwoShownCount) : count(k);
        const GridAmount amount = times(q, unit);
        m_G += amount;
        const QString code = kinds.testFlag(StakeKind::Poule) && !kinds.testFlag(StakeKind::PouleAs)
                                 ? Space(5)
                                 : line.stakeCode();
        add({SheetLine::Body, line.stakeLabel() + code, milliText(unit), QString::number(q),
             M(amount)});
    }
    // A fee line; free entries are valued at the fee price and taken off.
    void feeLine(int k) {
        const StakeTypeRecord& line = m_race.lines[k - 1];
        const StakeKinds kinds = recordKinds(line);
        long long unit = unitMilli(line);
        if (kinds.testFlag(StakeKind::Fees))
            m_feeUnit = unit;
        if (kinds.testFlag(StakeKind::Free))
            unit = m_feeUnit;
        countedLine(k, unit, count(k), m_F, kinds.testFlag(StakeKind::Free));
    }
    // A deduction: a percentage of the game total, the telephone costs asked, the rings
    // per pigeon entered, or a count.
    void deductionLine(int k) {
        const StakeTypeRecord& line = m_race.lines[k - 1];
        const StakeKinds kinds = recordKinds(line);
        const long long unit = unitMilli(line);
        if (kinds.testFlag(StakeKind::Deduction)) {
            const GridAmount deduction = GridAmount::fromRaw(GridAmount::Raw(m_G.thousandths()) * unit);
            m_D += deduction;
            add({SheetLine::Deduction,
                 QStringLiteral("Réglage ") + strNumber(static_cast<long long>(unit / 1000)) +
                     QStringLiteral(" %") + QStringLiteral(" sur "),
                 {}, M(m_G), M(deduction)});
        } else if (kinds.testFlag(StakeKind::Telephone)) {
            const long long amount = askTelephoneAmount(m_dialogs);
            const GridAmount a = GridAmount::fromRaw(GridAmount::Raw(unit) * amount * 100);
            m_D += a;
            bodyLine(k, unit, milliText(amount), a);
        } else {
            countedLine(k, unit, kinds.testFlag(StakeKind::Rings) ? int(m_recap.total(0)) : count(k),
                        m_D);
        }
    }

    Dialogs& m_dialogs;
    const RaceFiles& m_race;
    const RaceRecapRecord& m_recap;
    const RecapSheetSections m_sections;
    RecapSheet m_sheet;
    GridAmount m_G, m_F, m_D, m_C;
    long long m_feeUnit = 0;
    bool m_right = false, m_pendingRight = false, m_red = false;
};

RecapSheet buildRecapSheet(Dialogs& dialogs, const RaceFiles& race, const RaceRecapRecord& recap) {
    return RecapSheetBuilder(dialogs, race, recap).build();
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

// Runs a print job. A failure abandons it: nothing of it is printed, and the outcome says
// why.
template <class F> PrintOutcome runJob(PrintSurface& p, const QString& name, F&& body) {
    // Starts the document: millimetres, "Courier New", the job's orientation.
    auto start = [&](Orientation o) {
        p.beginDocument(name);
        p.setScaleMillimetres(0);
        p.setFontName(QStringLiteral("Courier New"));
        p.setOrientation(o);
    };
    try {
        return body(start);
    } catch (const Error& e) {
        p.abandonRun();
        return PrintOutcome::failure(
            QStringLiteral("L'impression « %1 » a échoué : %2").arg(name, e.message()));
    }
}

// The outcome of a document that a stop ended early.
PrintOutcome endedBy(bool stopped, PrintOutcome outcome) {
    if (stopped && !outcome.failed())
        outcome.status = PrintOutcome::Status::Stopped;
    return outcome;
}

} // namespace

PrintOutcome printClubRecaps(Dialogs& dialogs, PrintSurface& p, const Session& s,
                             const PrintStatus& status, PrintProgress& progress) {
    if (status)
        status(QStringLiteral("Patientez impression en cours"));
    const QString name = QStringLiteral("Récapitulatifs");
    const PrintOutcome result = runJob(p, name, [&](const auto& start) {
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
            sheets.append(
                buildRecapSheet(dialogs, race, checkedRecap(recap.read(1), recap.path(), 1)));
        }
        if (!neverStored.isEmpty())
            dialogs.inform(neverStored.join(u'\n'), name, MsgIcon::Exclamation);
        damage.tell();
        start(Orientation::Portrait);
        p.setBold(true);
        p.setItalic(true);
        bool stopped = false;
        for (qsizetype i = 0; i < sheets.size() && !stopped; ++i) {
            stopped = !progress.next(int(i), int(sheets.size()), sheets[i].heading.simplified());
            if (!stopped)
                drawRecapSheet(p, s.ClubNames.value(1), sheets[i]);
        }
        const PrintOutcome where = endedBy(stopped, p.endDocument());
        p.setItalic(false);
        return where;
    });
    if (status)
        status(QString());
    return result;
}

namespace {

// ---------------------------------------------------------------------------------------
// Totals per race

// What each listed fancier owes per chosen race, read before anything is drawn so that the
// columns take the widest amount. An amount of 0 or less prints blank and enters no total.
struct TotalsTable {
    struct Row {
        QString name; // as stored, 23 characters
        QList<long long> amounts;
        long long total = 0;
    };
    QStringList sites, levels; // the race headings
    QList<Row> rows;
    int races() const { return int(sites.size()); }
};

TotalsTable readRaceTotals(const Session& s, const QList<int>& fanciers, PrintProgress& progress) {
    TotalsTable t;
    const QList<RaceFiles> races = chosenRaceFiles(s);
    for (const RaceFiles& race : races) {
        t.sites << (race.hasBase ? upperCase(race.site()) : QString());
        t.levels << trim(race.levelName());
    }
    const RecordFileOf<FancierRecord> file(s.FancierFilePath);
    checkWholeRecords(file);
    const LoadedRecords names(file);
    for (int recordNo : fanciers) {
        progress.within(0); // before the first row: the windows stay painted
        const FancierRecord f = names.read<FancierRecord>(recordNo);
        TotalsTable::Row row{f.fancierName(), {}, 0};
        for (const RaceFiles& race : races) {
            row.amounts << checkedRaceAmount(f, race.code, file.path(), recordNo);
            row.total += row.amounts.last();
        }
        t.rows.append(row);
    }
    return t;
}

// The columns of the table on the page: a race column is 9 characters, or one more than
// its widest text (an amount or a heading of at most 9 characters) so that a space always
// comes before the next column; the totals column is 10, or one more than its widest
// amount. The races of each printed line: [first, last).
struct TotalsLayout {
    int w = 9, tw = 10;
    QList<std::pair<int, int>> spans;
};

QString amountCell(long long thousandths) {
    return thousandths > 0 ? milliText(thousandths) : QString();
}

TotalsLayout layOutTotals(PrintSurface& p, const TotalsTable& t, PrintProgress& progress) {
    const int n = t.races();
    QStringList columnTexts, rowTotals;
    QList<long long> sums(n, 0);
    for (const TotalsTable::Row& r : t.rows) {
        progress.within(0);
        for (int i = 0; i < n; ++i) {
            columnTexts << amountCell(r.amounts[i]);
            sums[i] += r.amounts[i];
        }
        if (n > 1)
            rowTotals << milliText(r.total);
    }
    long long grand = 0;
    for (long long sum : sums) {
        columnTexts << amountCell(sum);
        grand += sum;
    }
    for (const QString& h : t.sites + t.levels)
        columnTexts << h.left(9);
    TotalsLayout l;
    l.w = widest(columnTexts, 8) + 1;
    l.tw = widest(rowTotals + QStringList{milliText(grand)}, 9) + 1;

    // Eleven races take 133 columns: 9 points fit them on a landscape sheet. Wider
    // columns take a smaller size, down to 7 points; beyond, a row goes on below, from
    // the first race column.
    const int needed = 24 + n * l.w + l.tw;
    double size = 9;
    p.setFontSize(size);
    while (charactersPerLine(p) < needed && size > 7) {
        size -= 0.5;
        p.setFontSize(size);
    }
    const int perLine = std::clamp((charactersPerLine(p) - 24 - l.tw) / l.w, 1, std::max(n, 1));
    for (int first = 0; first < n || l.spans.isEmpty(); first += perLine)
        l.spans.append({first, std::min(n, first + perLine)});
    return l;
}

void printTotalsHeadings(PrintSurface& p, const TotalsTable& t, const TotalsLayout& l) {
    p.setCurrentY(0);
    for (int span = 0; span < l.spans.size(); ++span) {
        QString siteLine = Space(26), levelLine = Space(26);
        for (int i = l.spans[span].first; i < l.spans[span].second; ++i) {
            siteLine += centredHeading(t.sites[i], l.w).leftJustified(l.w, u' ');
            levelLine += centredHeading(t.levels[i], l.w).leftJustified(l.w, u' ');
        }
        if (span == l.spans.size() - 1)
            levelLine += R(l.tw - 2, QStringLiteral("TOTAUX"));
        p.printLine(siteLine);
        p.printLine(levelLine);
    }
}

// A row of amounts, one printed line per span, `lead` before the first span; the totals
// column after the last span unless `total` is null.
void printTotalsRow(PrintSurface& p, const TotalsLayout& l, const QString& lead,
                    const QList<long long>& amounts, const QString& total) {
    for (int span = 0; span < l.spans.size(); ++span) {
        QString line = span == 0 ? lead : Space(24);
        for (int i = l.spans[span].first; i < l.spans[span].second; ++i)
            line += amounts[i] > 0 ? R(l.w, milliText(amounts[i])) : Space(l.w);
        if (span == l.spans.size() - 1 && !total.isNull())
            line += R(l.tw, total);
        p.printLine(line);
    }
}

} // namespace

PrintOutcome printRaceTotals(Dialogs& dialogs, PrintSurface& p, const Session& s,
                             const QList<int>& fanciers, PrintProgress& progress) {
    return runJob(p, QStringLiteral("Totaux par concours"), [&](const auto& start) {
        DamageNotice damage(dialogs);
        const TotalsTable table = readRaceTotals(s, fanciers, progress);
        damage.tell();
        const int n = table.races();
        start(Orientation::Landscape);
        const TotalsLayout layout = layOutTotals(p, table, progress);
        printTotalsHeadings(p, table, layout);
        // A row a fancier; after a stop, the totals are those of the rows printed.
        QList<long long> sums(n, 0);
        bool stopped = false;
        for (qsizetype k = 0; k < table.rows.size() && !stopped; ++k) {
            const TotalsTable::Row& r = table.rows[k];
            stopped = !progress.next(int(k), int(table.rows.size()), trim(r.name));
            if (stopped)
                break;
            printTotalsRow(p, layout, u' ' + r.name, r.amounts,
                           n > 1 ? milliText(r.total) : QString());
            for (int i = 0; i < n; ++i)
                sums[i] += r.amounts[i];
        }
        long long grand = 0;
        for (long long sum : sums)
            grand += sum;
        p.printLine();
        p.setBold(true);
        printTotalsRow(p, layout, Space(24), sums, milliText(grand));
        const PrintOutcome where = endedBy(stopped, p.endDocument());
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

// One race of the detail: its stake columns up to its S/total, the lines of the fanciers
// who entered pigeons, and the column totals.
struct RaceDetail {
    int last = 0; // the stake line of the last "S/total" (0: none)
    QList<DetailColumn> kinds;
    QList<long long> countTotals;
    QList<GridAmount> amountTotals;
    QList<DetailLine> rows;
};

// Each fancier's columns are his entry sheet's: the counts it shows and what it charges,
// so that his S/total is what he owes. The reading is the first half of the race's work.
RaceDetail readRaceDetail(const Session& s, const RaceFiles& race, const QList<int>& fanciers,
                          const LoadedRecords& names, PrintProgress& progress) {
    RaceDetail d;
    for (int j = 1; j <= race.lines.size(); ++j)
        if (trim(race.lines[j - 1].stakeLabel()) == QLatin1String("S/total"))
            d.last = j;
    for (int j = 1; j <= d.last; ++j)
        d.kinds.append(columnKind(race.lines[j - 1]));
    d.countTotals = QList<long long>(d.last + 1, 0);
    d.amountTotals = QList<GridAmount>(d.last + 1);
    const RecordFileOf<StakeAmountBlock> file(
        resolveFile(s.YearFolder, raceFileName(QStringLiteral("mise"), race.code)));
    checkWholeRecords(file);
    const LoadedRecords stakes(file);
    const RaceAmountsOwed owed(race.lines);
    const StakeBlockCheck check(race.lines);
    for (qsizetype k = 0; k < fanciers.size(); ++k) {
        progress.within(0.5 * double(k) / double(fanciers.size()));
        const StakeAmountBlock block =
            check.checked(stakes.read<StakeAmountBlock>(fanciers[k]), file.path(), fanciers[k]);
        if (!(block.pigeonsEntered() > 0))
            continue;
        const RaceGrid grid = owed.grid(block);
        DetailLine row{names.read<FancierRecord>(fanciers[k]).fancierName(),
                       QString::number(grid.pigeonsEntered()),
                       {}};
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
    return d;
}

// Where the lines of a race's page break: a count column is 4 characters and an amount
// column 9, or one more than the widest text of its kind on the page, so that a space
// always comes before it. After 25 stake columns, or before a column that would pass the
// printable width, the line goes on below, from column 24; every line of the page breaks
// at the same columns.
struct DetailLayout {
    const RaceDetail& d;
    int cw = 4, aw = 9;
    QList<bool> breakBefore;
    int width(int j) const { return d.kinds[j - 1] == DetailColumn::Count ? cw : aw; }
};

DetailLayout layOutDetail(const PrintSurface& p, const RaceDetail& d, const DetailLine& totals,
                          PrintProgress& progress) {
    DetailLayout l{d, 4, 9, QList<bool>(d.last + 1, false)};
    QStringList counts{totals.pigeons}, amounts;
    for (const DetailLine& line : d.rows + QList<DetailLine>{totals}) {
        progress.within(0.5);
        counts << line.pigeons;
        for (int j = 1; j <= d.last; ++j)
            (d.kinds[j - 1] == DetailColumn::Count ? counts : amounts) << line.columns[j - 1];
    }
    l.cw = widest(counts, 3) + 1;
    l.aw = widest(amounts, 8) + 1;
    const int perLine = charactersPerLine(p);
    for (int j = 1, counter = 0, x = 23 + l.cw; j <= d.last; ++j) {
        if (++counter > 25 || x + l.width(j) > perLine) {
            l.breakBefore[j] = true;
            counter = 0;
            x = 23;
        }
        x += l.width(j);
    }
    return l;
}

void printDetailLine(PrintSurface& p, const DetailLayout& l, const DetailLine& line) {
    p.print(line.name + R(l.cw, line.pigeons));
    for (int j = 1; j <= l.d.last; ++j) {
        if (l.breakBefore[j]) {
            p.endLine();
            p.print(Space(23));
        }
        p.print(R(l.width(j), line.columns[j - 1]));
    }
    p.endLine();
}

// A race's pages: its title, the head line, a line per fancier and the totals; the
// drawing is the second half of the race's work.
void printRaceDetail(PrintSurface& p, const RaceFiles& race, const RaceDetail& d,
                     PrintProgress& progress) {
    p.setFontSize(9);
    p.printLine();
    p.tab(26);
    p.printLine(upperCase(race.site()) + u' ' + race.categoryName() + u' ' + race.levelName() +
                QStringLiteral(" du ") + race.base.calendarDateLong());
    DetailLine totals{Space(23), QString::number(d.countTotals[0]), {}};
    DetailLine head{Space(23), QStringLiteral("Pig."), {}};
    for (int j = 1; j <= d.last; ++j) {
        const bool count = d.kinds[j - 1] == DetailColumn::Count;
        totals.columns << (count ? QString::number(d.countTotals[j]) : M(d.amountTotals[j]));
        head.columns << (count ? trim(race.lines[j - 1].stakeCode()).left(3)
                         : d.kinds[j - 1] == DetailColumn::BetsTotal ? QStringLiteral("Total ")
                                                                     : QStringLiteral("S/total"));
    }
    const DetailLayout layout = layOutDetail(p, d, totals, progress);
    printDetailLine(p, layout, head);
    // A row that ends with its sub-total leaves an empty line under it.
    const bool endsWithSubTotal = d.last > 0 && d.kinds[d.last - 1] == DetailColumn::SubTotal;
    for (qsizetype k = 0; k < d.rows.size(); ++k) {
        progress.within(0.5 + 0.5 * double(k) / double(d.rows.size()));
        printDetailLine(p, layout, d.rows[k]);
        if (endsWithSubTotal)
            p.endLine();
    }
    p.endLine();
    printDetailLine(p, layout, totals);
    p.newPage();
}

} // namespace

PrintOutcome printFancierDetail(Dialogs& dialogs, PrintSurface& p, const Session& s,
                                const QList<int>& fanciers, PrintProgress& progress) {
    return runJob(p, QStringLiteral("Détail par amateur"), [&](const auto& start) {
        DamageNotice damage(dialogs);
        const QList<RaceFiles> races = chosenRaceFiles(s);
        const RecordFileOf<FancierRecord> file(s.FancierFilePath);
        checkWholeRecords(file);
        const LoadedRecords names(file);
        damage.tell();
        start(Orientation::Landscape);
        p.setBold(true);
        p.setItalic(true);
        // Race after race, each read then drawn; a stop ends the document after the races
        // printed whole.
        bool stopped = false;
        for (qsizetype i = 0; i < races.size() && !stopped; ++i) {
            stopped = !progress.next(int(i), int(races.size()), upperCase(races[i].site()));
            if (stopped)
                break;
            // A damaged count is told before the race's page shows it as 0.
            const RaceDetail detail = readRaceDetail(s, races[i], fanciers, names, progress);
            damage.tell();
            printRaceDetail(p, races[i], detail, progress);
        }
        const PrintOutcome where = endedBy(stopped, p.endDocument());
        p.setOrientation(Orientation::Portrait);
        p.setItalic(false);
        return where;
    });
}

} // namespace vt
