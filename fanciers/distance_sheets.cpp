#include "fanciers/distance_sheets.h"

#include "common/dates.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/fancier_list.h"
#include "fanciers/fancier_prints.h"
#include "fanciers/geodesy.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/print_progress.h"
#include "platform/print_surface.h"

namespace vt {

namespace {

constexpr int Red = 255;
constexpr double GridRight = 200;

std::optional<std::int32_t> siteDistance(const ReleaseSiteRecord& site, const LoftCoordinates& loft) {
    return ComputeSiteDistance(
        PackedPoint{site.latitudeDms(), site.longitudeEastDms(), site.longitudeWestDms()},
        loft.latitude, loft.longitude);
}

QString clubNameOf(const FancierRecord& f) {
    return session().ClubNames.value(fancierClubNo(f));
}

// The licence after the club on the same line, from the next print zone: one zone
// further when the club's text ends less than a space before it, and from `lineStartX`
// on the next line when it would pass the printable width.
void printLicenceAfterClub(PrintSurface& s, const QString& licence, double lineStartX) {
    constexpr double Tolerance = 1e-6;
    const double clubEnd = s.currentX();
    s.nextZone();
    if (s.currentX() - clubEnd < s.columnWidth() - Tolerance)
        s.nextZone();
    if (s.currentX() + s.textWidth(licence) > s.scaleWidth() + Tolerance) {
        s.endLine();
        s.setCurrentX(lineStartX);
    }
    s.printLine(licence);
}

void drawVerticals(PrintSurface& s, double c, double top, double bottom) {
    const double xs[] = {0, 36, c, c + 36, 2 * c, 2 * c + 36, 3 * c, 3 * c + 36, GridRight};
    for (double x : xs)
        s.drawLine(x, top, x, bottom);
}

// A sheet's document: millimetres 5 mm below the top, "COURIER New" 12 bold, the picture.
void beginSheet(PrintSurface& s, const QString& name, Orientation orientation) {
    s.beginDocument(name);
    s.setOrientation(orientation);
    s.setScaleMillimetres(-5);
    s.setFontName(QStringLiteral("COURIER New"));
    s.setFontSize(12);
    s.setBold(true);
    s.setUnderline(false);
    s.drawImage(3, 3, fanciersPicture());
}

} // namespace

PrintedCoordinate printedCoordinate(double packed) {
    // Rounded to hundredths of a second first, so that the printed digits and the value
    // used for the distances are the same number.
    const QString rounded = format2(packed); // "480506,25"
    const int comma = static_cast<int>(rounded.indexOf(u','));
    QString whole = rounded.left(comma);
    const QString hundredths = rounded.mid(comma + 1, 2);
    if (whole.size() < 6)
        whole = QString(6 - whole.size(), u'0') + whole;
    QString text = whole.left(2) + u'°' + whole.mid(2, 2) + u'\'' + whole.right(2);
    if (hundredths != QStringLiteral("00"))
        text += u',' + hundredths;
    return {text, whole.toDouble() + hundredths.toInt() / 100.0};
}

LoftCoordinates loftCoordinates(const FancierRecord& f) {
    const PrintedCoordinate lat = printedCoordinate(f.latitudeDms());
    const bool east = f.longitudeEastDms() != 0;
    const PrintedCoordinate lon = printedCoordinate(east ? f.longitudeEastDms() : f.longitudeWestDms());
    LoftCoordinates out;
    out.text = QStringLiteral("Coordonnées GPS : ") + lat.text + QStringLiteral(" - ") + lon.text +
               (east ? QStringLiteral(" EST") : QStringLiteral(" OUEST"));
    out.latitude = DmsToDecimalDegrees(lat.value);
    const double lonDegrees = DmsToDecimalDegrees(lon.value);
    out.longitude = f.longitudeEastDms() > 0 ? lonDegrees : -lonDegrees;
    return out;
}

QList<QList<int>> siteRows(int n) {
    QList<QList<int>> rows;
    const int count = n / 4 + (n % 4 != 0 ? 1 : 0);
    for (int r = 0; r < count; ++r) {
        QList<int> row;
        for (int col = 0; col < 4; ++col) {
            const int k = r + col * count;
            if (k < n)
                row.append(k);
        }
        rows.append(row);
    }
    return rows;
}

QString distanceText(std::optional<std::int32_t> metres) {
    return Right(Space(8) + (metres ? QString::number(*metres) : QString()), 8);
}

QString bookletCell(const ReleaseSiteRecord& site, std::optional<std::int32_t> metres) {
    return u' ' + Left(site.siteName(), 21) + QStringLiteral(" |") + distanceText(metres) +
           QStringLiteral(" |");
}

MessageRequest sheetLayoutQuestion() {
    MessageRequest r;
    r.text = QStringLiteral("Désirez-vous imprimer en forme de Carnet");
    r.title = QStringLiteral("Forme de l'édition");
    r.buttons = MsgButtons::YesNo;
    r.icon = MsgIcon::Information;
    r.defaultButton = MsgAnswer::Yes;
    return r;
}

PrintOutcome printDistanceBooklet(const FancierRecord& f, const QList<ReleaseSiteRecord>& sites,
                                  PrintSurface& s) {
    if (f.latitudeDms() == 0)
        return {};
    const LoftCoordinates loft = loftCoordinates(f);
    beginSheet(s, QStringLiteral("Carnet ") + trim(f.fancierName()), Orientation::Landscape);
    s.setCurrentX(30);
    s.setCurrentY(3);
    s.printLine(upperCase(federationName()) + u' ' + regionText(regionNumber()));
    s.setCurrentX(30);
    s.printLine(f.fancierName() + f.addressLine() + f.postCode() + u' ' + trim(f.town()));
    const int saved = s.foreColor();
    s.setForeColor(Red);
    s.setCurrentX(30);
    s.printLine(loft.text);
    s.setForeColor(saved);
    s.setCurrentX(30);
    s.print(QStringLiteral("Société de : ") + clubNameOf(f));
    printLicenceAfterClub(s, QStringLiteral("Licence N° : ") + f.licenceNumber(), 30);
    s.setUnderline(true);
    s.setFontSize(10);
    s.setCurrentX(0);
    s.printLine(Space(140));
    for (const QList<int>& row : siteRows(static_cast<int>(sites.size()))) {
        // A site at 1000 m or less takes no cell: the next cells of the row move left.
        QString text;
        for (int k : row) {
            const auto d = siteDistance(sites.at(k), loft);
            if (d && *d > 1000)
                text += bookletCell(sites.at(k), d);
        }
        s.printLine(text);
    }
    s.newPage();
    s.setUnderline(false);
    return s.endDocument();
}

PrintOutcome printDistanceList(const FancierRecord& f, const QList<ReleaseSiteRecord>& sites,
                               PrintSurface& s) {
    if (f.latitudeDms() == 0)
        return {};
    const LoftCoordinates loft = loftCoordinates(f);
    // Portrait whatever an earlier job left: the grid is 200 mm wide.
    beginSheet(s, QStringLiteral("Distances ") + trim(f.fancierName()), Orientation::Portrait);
    s.setCurrentY(1);
    s.setCurrentX(0);
    s.nextZone();
    s.printLine(QStringLiteral("LISTE DE DISTANCES édité le ") +
                frenchDate(today(), QStringLiteral("dd mmmm yyyy")));
    s.nextZone();
    s.printLine(trim(f.fancierName()));
    s.nextZone();
    s.printLine(f.addressLine());
    s.nextZone();
    s.printLine(f.postCode() + u' ' + trim(f.town()));
    const int saved = s.foreColor();
    s.setForeColor(Red);
    s.nextZone();
    s.printLine(loft.text);
    const double y0 = s.currentY();

    s.setFontSize(10);
    const QStringList words = federationName().split(u' ');
    s.setCurrentX(4);
    s.setCurrentY(21);
    s.printLine(u' ' + words.value(0));
    s.setCurrentX(4);
    s.printLine(words.value(1));
    s.setCurrentX(4);
    s.printLine(regionText(regionNumber()));

    s.setForeColor(saved);
    s.setFontSize(12);
    s.setCurrentY(y0);
    s.nextZone();
    s.printLine(QStringLiteral("Société de : ") + trim(clubNameOf(f)));
    s.nextZone();
    s.printLine(QStringLiteral("Licence N° : ") + f.licenceNumber());

    s.setFontName(QStringLiteral("Courier New"));
    s.setFontSize(8);
    s.printLine();
    double top = s.currentY();
    double lastRule = top;
    s.drawLine(0, top, GridRight, top);
    s.printLine();

    const double c = s.scaleWidth() / 4 - 1;
    const double bottom = s.scaleTop() + s.scaleHeight();
    s.setFontSize(11);
    const double rowHeight = s.lineHeight();
    s.setFontSize(8);
    for (const QList<int>& row : siteRows(static_cast<int>(sites.size()))) {
        if (s.currentY() + rowHeight > bottom) {
            // The grid is closed on this page and started again on the next one.
            drawVerticals(s, c, top, lastRule);
            s.newPage();
            top = lastRule = s.currentY();
            s.drawLine(0, top, GridRight, top);
            s.printLine();
        }
        const double yRow = s.currentY();
        for (int col = 0; col < row.size(); ++col) {
            const ReleaseSiteRecord& site = sites.at(row.at(col));
            const double x = col * c;
            s.setCurrentX(x);
            s.setCurrentY(yRow + 0.8);
            s.print(u' ' + Left(site.siteName(), 20));
            s.setCurrentX(x + 35.5);
            s.print(distanceText(siteDistance(site, loft)));
            s.setCurrentY(yRow);
        }
        s.setFontSize(11);
        s.endLine();
        lastRule = s.currentY();
        s.drawLine(0, lastRule, GridRight, lastRule);
        s.setFontSize(8);
    }
    drawVerticals(s, c, top, s.currentY());
    s.newPage();
    return s.endDocument();
}

DistanceSheetRun printDistanceSheets(const QList<int>& recordNos, SheetLayout layout,
                                     PrintSurface& surface, PrintProgress& progress) {
    DistanceSheetRun run;
    run.total = static_cast<int>(recordNos.size());
    // Every sheet goes into one run: one PDF file without a printer.
    PrintRun printRun(surface, QStringLiteral("Feuilles de distance"));
    // The sites are read once for the run, when the first sheet needs them; a read that
    // fails is tried again for the next sheet.
    std::optional<QList<ReleaseSiteRecord>> sites;
    for (int i = 0; i < recordNos.size(); ++i) {
        const int recordNo = recordNos.at(i);
        if (recordNo <= 0) {
            ++run.skipped;
            continue;
        }
        FancierRecord f;
        try {
            f = readSeasonFancier(recordNo);
            if (f.latitudeDms() == 0) {
                ++run.skipped;
                continue;
            }
            if (!progress.next(i, run.total, trim(f.fancierName()))) {
                run.stopped = true;
                break;
            }
            if (!sites)
                sites = readGeneralSitesInFileOrder();
            const PrintOutcome sheet = layout == SheetLayout::Booklet
                                           ? printDistanceBooklet(f, *sites, surface)
                                           : printDistanceList(f, *sites, surface);
            if (sheet.failed()) {
                ++run.failed;
                run.failedNames.append(trim(f.fancierName()));
            } else {
                ++run.printed;
            }
        } catch (const Error&) {
            ++run.failed;
            const QString name = trim(f.fancierName());
            run.failedNames.append(name.isEmpty() ? QStringLiteral("N° %1").arg(recordNo) : name);
        }
    }
    run.where = printRun.end();
    if (run.stopped && !run.where.failed())
        run.where.status = PrintOutcome::Status::Stopped;
    if (run.where.failed()) {
        // The file of the run could not be written: none of its sheets is kept.
        run.failed += run.printed;
        run.printed = 0;
    }
    return run;
}

namespace {
// The fanciers a message names: the first ten, then how many more, so that the message
// of a run of thousands still fits the screen with its file and reason.
QString namedFanciers(const QStringList& names) {
    constexpr int Shown = 10;
    if (names.size() <= Shown + 1)
        return names.join(u'\n');
    return QStringList(names.mid(0, Shown)).join(u'\n') +
           QStringLiteral("\n… et %1 autres").arg(names.size() - Shown);
}
} // namespace

MessageRequest distanceSheetsMessage(const DistanceSheetRun& run) {
    MessageRequest r;
    const QString counts = QStringLiteral("Feuilles imprimées : %1\nSans coordonnées : %2\nEn échec : %3")
                               .arg(run.printed)
                               .arg(run.skipped)
                               .arg(run.failed);
    // Where the sheets went, when they went somewhere.
    const QString where = run.where.message.isEmpty() ? QString() : u'\n' + run.where.message;
    if (run.stopped) {
        r.text = QStringLiteral("Impression arrêtée : %1 feuilles imprimées sur %2\n")
                     .arg(run.printed)
                     .arg(run.total) +
                 counts + where;
        r.icon = MsgIcon::Information;
    } else if (run.failed == 0) {
        r.text = QStringLiteral("L'impression sélectionnée est mémorisée vous pouvez retravailler \n") +
                 counts + where;
        r.icon = MsgIcon::None;
    } else {
        r.text = QStringLiteral("L'impression sélectionnée est incomplète\n") + counts + u'\n' +
                 namedFanciers(run.failedNames) + where;
        r.icon = MsgIcon::Exclamation;
    }
    r.buttons = MsgButtons::Ok;
    return r;
}

} // namespace vt
