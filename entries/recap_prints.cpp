#include "entries/recap_prints.h"

#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"
#include "entries/amount_owed.h"
#include "entries/grid_amount.h"
#include "entries/race_grid.h"
#include "entries/recap_grid.h"
#include "entries/stake_catalogue.h"
#include "platform/dialogs.h"
#include "platform/print_surface.h"

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
        r.lines = RecordFileOf<StakeTypeRecord>(
                      resolveFile(s.YearFolder, raceFileName(QStringLiteral("basejeu"), code)))
                      .readAll();
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

struct SheetLine {
    QString text;
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
    auto add = [&](const QString& text) {
        sheet.body.append({text, red, pendingRight});
        pendingRight = false;
    };
    auto bodyLine = [&](int k, long long unit, const QString& quantity, GridAmount amount) {
        add(race.lines[k - 1].stakeLabel() + Space(5) + R(6, milliText(unit)) + R(6, quantity) +
            R(9, M(amount)));
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
            add(QStringLiteral("           TOTAL DU JEU = ") + R(8, M(G)));
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
        add(line.stakeLabel() + code + R(6, milliText(unit)) + R(6, QString::number(count(k))) +
            R(9, M(amount)));
    }
    // Fees, up to the sub-total: free entries are valued at the fee price and taken off.
    if (open) {
        open = false;
        long long feeUnit = 0;
        for (; k <= n; ++k) {
            const StakeTypeRecord& line = race.lines[k - 1];
            const StakeKinds kinds = recordKinds(line);
            if (kinds.testFlag(StakeKind::SubTotal)) {
                add(QStringLiteral("             SOUS TOTAL = ") + R(8, M(G + F)));
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
                add(QStringLiteral("        TOTAL A DEDUIRE = ") + R(8, M(D)));
                open = true;
                ++k;
                break;
            }
            if (kinds.testFlag(StakeKind::Deduction)) {
                // A percentage of the game total.
                const GridAmount deduction =
                    GridAmount::fromRaw(GridAmount::Raw(G.thousandths()) * unit);
                D += deduction;
                add(QStringLiteral("Réglage ") + strNumber(static_cast<long long>(unit / 1000)) +
                    QStringLiteral(" %") + QStringLiteral(" sur ") + R(8, M(G)) +
                    QStringLiteral(" =") + R(7, M(deduction)));
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
                add(QStringLiteral("          TOTAL GENERAL = ") + R(8, M(G + F + C - D)));
                break;
            }
            C += times(count(k), unit);
            bodyLine(k, unit, QString::number(count(k)), times(count(k), unit));
        }
    }
    return sheet;
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
    const double y0 = p.currentY();
    double x = 0;
    for (const SheetLine& line : sheet.body) {
        if (line.startsRightColumn) {
            x = p.scaleWidth() / 2;
            p.setCurrentY(y0);
        }
        p.setForeColor(line.red ? RedColor : 0);
        p.setCurrentX(x);
        p.printLine(line.text);
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
                        const PrintStatus& status) {
    if (status)
        status(QStringLiteral("Patientez impression en cours"));
    const QString name = QStringLiteral("Récapitulatifs");
    QString result = runJob(dialogs, p, name, [&](const auto& start) {
        // Every sheet is built, and every question asked, before anything is printed.
        QList<RecapSheet> sheets;
        QStringList neverStored;
        for (const RaceFiles& race : chosenRaceFiles(s)) {
            const RecordFileOf<RaceRecapRecord> recap(
                resolveFile(s.YearFolder, raceFileName(QStringLiteral("recap"), race.code)));
            if (!recap.exists())
                neverStored << QStringLiteral("Récapitulatif non mémorisé : %1 (%2)")
                                   .arg(race.site(), raceExtension(race.code).mid(1));
            sheets.append(buildRecapSheet(dialogs, race, recap.read(1)));
        }
        if (!neverStored.isEmpty())
            dialogs.inform(neverStored.join(u'\n'), name, MsgIcon::Exclamation);
        start(Orientation::Portrait);
        p.setBold(true);
        p.setItalic(true);
        for (const RecapSheet& sheet : sheets)
            drawRecapSheet(p, s.ClubNames.value(1), sheet);
        const QString where = p.endDocument();
        p.setItalic(false);
        return where;
    });
    if (status)
        status(QString());
    return result;
}

QString printRaceTotals(Dialogs& dialogs, PrintSurface& p, const Session& s,
                        const QList<int>& fanciers) {
    const QString name = QStringLiteral("Totaux par concours");
    return runJob(dialogs, p, name, [&](const auto& start) {
        const QList<RaceFiles> races = chosenRaceFiles(s);
        const RecordFileOf<FancierRecord> names(s.FancierFilePath);
        start(Orientation::Landscape);
        // Eleven races take 133 columns: 9 points fit them on a landscape sheet.
        p.setFontSize(9);
        p.setCurrentY(0);
        p.printLine();
        p.tab(26);
        p.print(QStringLiteral(" "));
        double column = p.currentX();
        for (const RaceFiles& race : races) {
            p.setCurrentY(0);
            p.setCurrentX(column);
            const QString site = race.hasBase ? upperCase(race.site()) : QString();
            const int n = std::max<int>(0, (9 - int(site.size())) / 2);
            p.printLine(race.hasBase ? Space(n) + site.left(9 - n) : Space(9));
            p.setCurrentX(column);
            const QString level = race.levelName();
            const int m = std::max<int>(0, (9 - int(trim(level).size())) / 2);
            p.print(Space(m) + level.left(9 - m));
            column = p.currentX();
        }
        p.printLine(QStringLiteral("  TOTAUX"));

        QList<long long> raceTotals(races.size(), 0);
        for (int recordNo : fanciers) {
            const FancierRecord f = names.read(recordNo);
            p.print(u' ' + f.fancierName());
            long long rowTotal = 0;
            for (int i = 0; i < races.size(); ++i) {
                const long long a = f.raceAmount(races[i].code);
                if (a > 0) {
                    p.print(R(9, milliText(a)));
                    rowTotal += a;
                    raceTotals[i] += a;
                } else {
                    p.print(Space(9));
                }
            }
            if (races.size() > 1)
                p.print(R(10, milliText(rowTotal)));
            p.endLine();
        }
        p.printLine();
        p.setBold(true);
        p.tab(24);
        p.print(QStringLiteral(" "));
        long long grand = 0;
        for (long long t : raceTotals) {
            p.print(t > 0 ? R(9, milliText(t)) : Space(9));
            grand += t;
        }
        p.printLine(R(10, milliText(grand)));
        const QString where = p.endDocument();
        p.setOrientation(Orientation::Portrait);
        return where;
    });
}

namespace {

// The wrapping of a detail line: after 25 stake columns the line goes on below, from
// column 24.
struct DetailWrap {
    PrintSurface& p;
    int counter = 0;
    void next() {
        if (++counter > 25) {
            p.endLine();
            p.print(Space(23));
            counter = 0;
        }
    }
};

enum class DetailColumn { Count, BetsTotal, SubTotal };

DetailColumn columnKind(const StakeTypeRecord& line) {
    const StakeKinds kinds = recordKinds(line);
    if (kinds.testFlag(StakeKind::GameTotal))
        return DetailColumn::BetsTotal;
    if (trim(line.stakeLabel()) == QLatin1String("S/total"))
        return DetailColumn::SubTotal;
    return DetailColumn::Count;
}

} // namespace

QString printFancierDetail(Dialogs& dialogs, PrintSurface& p, const Session& s,
                           const QList<int>& fanciers) {
    const QString name = QStringLiteral("Détail par amateur");
    return runJob(dialogs, p, name, [&](const auto& start) {
        const QList<RaceFiles> races = chosenRaceFiles(s);
        const RecordFileOf<FancierRecord> names(s.FancierFilePath);
        start(Orientation::Landscape);
        p.setBold(true);
        p.setItalic(true);
        for (const RaceFiles& race : races) {
            p.setFontSize(9);
            p.printLine();
            p.tab(26);
            p.printLine(upperCase(race.site()) + u' ' + race.categoryName() + u' ' +
                        race.levelName() + QStringLiteral(" du ") + race.base.calendarDateLong());
            const RecordFileOf<StakeAmountBlock> stakes(
                resolveFile(s.YearFolder, raceFileName(QStringLiteral("mise"), race.code)));
            int last = 0;
            for (int j = 1; j <= race.lines.size(); ++j)
                if (trim(race.lines[j - 1].stakeLabel()) == QLatin1String("S/total"))
                    last = j;
            QList<DetailColumn> kinds;
            for (int j = 1; j <= last; ++j)
                kinds.append(columnKind(race.lines[j - 1]));

            p.print(Space(23) + QStringLiteral("Pig."));
            DetailWrap head{p};
            for (int j = 1; j <= last; ++j) {
                head.next();
                switch (kinds[j - 1]) {
                case DetailColumn::BetsTotal: p.print(QStringLiteral("   Total ")); break;
                case DetailColumn::SubTotal: p.print(QStringLiteral("  S/total")); break;
                case DetailColumn::Count:
                    p.print(Right(QStringLiteral("   ") +
                                      trim(race.lines[j - 1].stakeCode()).left(3),
                                  4));
                    break;
                }
            }
            p.endLine();

            // Each fancier's columns are his entry sheet's: the counts it shows and what it
            // charges, so that his S/total is what he owes.
            const RaceAmountsOwed owed(race.lines);
            QList<long long> countTotals(last + 1, 0);
            QList<GridAmount> amountTotals(last + 1);
            for (int recordNo : fanciers) {
                const StakeAmountBlock block = stakes.read(recordNo);
                if (!(block.pigeonsEntered() > 0))
                    continue;
                const RaceGrid grid = owed.grid(block);
                p.print(names.read(recordNo).fancierName() +
                        applyMask(grid.pigeonsEntered(), QStringLiteral("@@@@")));
                countTotals[0] += grid.pigeonsEntered();
                GridAmount running;
                DetailWrap row{p};
                for (int j = 1; j <= last; ++j) {
                    row.next();
                    const GridRow& line = grid.row(j + 1);
                    running += line.charge;
                    switch (kinds[j - 1]) {
                    case DetailColumn::BetsTotal:
                        amountTotals[j] += running;
                        p.print(R(9, M(running)));
                        break;
                    case DetailColumn::SubTotal:
                        amountTotals[j] += running;
                        p.printLine(R(9, M(running)));
                        break;
                    case DetailColumn::Count:
                        countTotals[j] += line.count;
                        p.print(applyMask(line.count, QStringLiteral("@@@@")));
                        break;
                    }
                }
                p.endLine();
            }

            p.endLine();
            p.print(Space(23));
            DetailWrap totals{p, -1};
            for (int j = 0; j <= last; ++j) {
                totals.next();
                const DetailColumn kind = j == 0 ? DetailColumn::Count : kinds[j - 1];
                if (kind == DetailColumn::Count)
                    p.print(applyMask(countTotals[j], QStringLiteral("@@@@")));
                else
                    p.print(R(9, M(amountTotals[j])));
            }
            p.endLine();
            p.newPage();
        }
        const QString where = p.endDocument();
        p.setOrientation(Orientation::Portrait);
        p.setItalic(false);
        return where;
    });
}

} // namespace vt
