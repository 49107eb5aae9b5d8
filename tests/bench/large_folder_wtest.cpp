// The large generated folder (5,000 fanciers, 11 races) as a user meets it: what each
// fancier owes is what his entry sheet says, its recaps can be stored, and its totals per
// race, stake detail and recap sheets keep every amount apart from the next and every word
// inside the page, on the recorded pages and in the PDF files read back with pdftotext.
#include "bench_folder.h"

#include "common/record_file.h"
#include "entries/entry_save.h"
#include "entries/race_grid.h"
#include "entries/recap_prints.h"
#include "entries/recap_store.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

using namespace vt;

namespace {

constexpr double PointsPerMm = 72 / 25.4;

// One word of a PDF page read back with pdftotext -bbox: its right end in mm, its text.
struct PdfWord {
    double xMax;
    QString text;
};
struct PdfPage {
    double width = 0; // mm
    QList<PdfWord> words;
};

QList<PdfPage> readPdf(const QString& pdf) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    p.waitForFinished(120000);
    const QString xhtml = QString::fromUtf8(p.readAllStandardOutput());
    static const QRegularExpression pageRe(QStringLiteral("<page width=\"([\\d.]+)\""));
    static const QRegularExpression wordRe(
        QStringLiteral("<word xMin=\"[\\d.]+\" yMin=\"[\\d.]+\" xMax=\"([\\d.]+)\" "
                       "yMax=\"[\\d.]+\">([^<]*)</word>"));
    QList<PdfPage> pages;
    auto pageIt = pageRe.globalMatch(xhtml);
    QList<qsizetype> starts;
    while (pageIt.hasNext()) {
        const auto m = pageIt.next();
        starts << m.capturedStart();
        pages.append(PdfPage{m.captured(1).toDouble() / PointsPerMm, {}});
    }
    starts << xhtml.size();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        auto it = wordRe.globalMatch(QStringView(xhtml).mid(starts[i], starts[i + 1] - starts[i]));
        while (it.hasNext()) {
            const auto m = it.next();
            pages[i].words.append(
                PdfWord{m.captured(1).toDouble() / PointsPerMm,
                        m.captured(2).replace(QStringLiteral("&amp;"), QStringLiteral("&"))});
        }
    }
    return pages;
}

// A word that is one thing: an amount with its three decimals, a number, a series code
// ("2/3"), a pool code cut to 3 characters ("0,5"), or a word that does not begin with a
// digit and holds no comma. Two amounts, a number and a name, or an "=" and an amount that
// run together are none of these.
bool isOneThing(const QString& word) {
    static const QRegularExpression one(
        QStringLiteral("^(-?\\d+,\\d{3}|\\d,\\d|-?\\d+|\\d+/\\d+|[^\\d,=][^,]*|=|%)$"));
    return one.match(word).hasMatch();
}

// The words of a PDF that run together or end past the printable width (4 mm margins).
QStringList faults(const QList<PdfPage>& pages) {
    QStringList out;
    for (int i = 0; i < pages.size(); ++i)
        for (const PdfWord& w : pages[i].words) {
            if (!isOneThing(w.text))
                out << QStringLiteral("page %1: \"%2\" runs together").arg(i + 1).arg(w.text);
            if (w.xMax > pages[i].width - 4 + 0.2)
                out << QStringLiteral("page %1: \"%2\" ends at %3 mm, past the page")
                           .arg(i + 1)
                           .arg(w.text)
                           .arg(w.xMax);
        }
    return out;
}

// The recorded texts that end past the printable width of their page (A4 less 4 mm
// margins; Courier advances 0.6 em).
QStringList pastTheEdge(const RecordingSurface& surface) {
    QStringList out;
    for (const RecordedPage& page : surface.pages())
        for (const RecordedText& t : page.texts) {
            QString drawn = t.text;
            while (drawn.endsWith(u' '))
                drawn.chop(1);
            const double width = page.orientation == Orientation::Landscape ? 289 : 202;
            if (t.x + drawn.size() * 0.6 * t.fontSize * 25.4 / 72 > width + 0.01)
                out << t.text;
        }
    return out;
}

QStringList words(const QString& line) {
    return line.split(u' ', Qt::SkipEmptyParts);
}

// The listed fanciers of the recap window: every fancier with an amount owed.
QList<int> listed() {
    return listedFanciers(loadRecapList().lines);
}

} // namespace

class LargeFolderTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    bench::BenchFolder folder;
    std::unique_ptr<ScriptedDialogsScope> dialogs;

    // A print run to a PDF file of its own, read back.
    template <class Print> QList<PdfPage> toPdf(Print&& print) {
        QtPrintSurface pdf(QtPrintSurface::Target::Pdf);
        print(pdf);
        const QString path = pdf.lastPdfPath();
        [&] { QVERIFY2(!path.isEmpty(), "no PDF written"); }();
        return readPdf(path);
    }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        folder = bench::writeBenchFolder(dir.path(), bench::FolderSize{});
        bench::configureBenchSession(folder);
        setPdfFolder(dir.filePath(QStringLiteral("impressions")));
        dialogs = std::make_unique<ScriptedDialogsScope>();
    }
    void cleanupTestCase() {
        dialogs.reset();
        setPdfFolder(QString());
    }

    // What the folder says each fancier owes is what his entry sheet says, race by race,
    // and the recap list adds it up.
    void theAmountsOwedAreTheEntrySheets() {
        const RecordFileOf<FancierRecord> season(session().FancierFilePath);
        const RecapListLoad list = loadRecapList();
        int entered = 0;
        for (int f = 1; f <= folder.size.fanciers; f += 37) {
            const FancierRecord r = season.read(f);
            long long total = 0;
            for (int code : folder.chosenRaceCodes) {
                const RaceGrid sheet = loadRaceGrid(folder.yearFolder, code, f);
                const int32_t owed = sheet.pigeonsEntered() > 0 ? *sheet.subTotalThousandths() : 0;
                QCOMPARE(r.raceAmount(code), owed);
                total += owed;
                entered += sheet.pigeonsEntered() > 0;
            }
            QCOMPARE(fancierTotal(r, session().ChosenRaceCodes), total);
        }
        QVERIFY(entered > 100);
        QVERIFY(!list.lines.isEmpty());
    }

    // The totals per race: 11 races of amounts up to six digits before the comma.
    void totalsPerRaceKeepEveryAmountApartAndInsideThePage() {
        const QList<int> fanciers = listed();
        RecordingSurface recorded;
        printRaceTotals(**dialogs, recorded, session(), fanciers);
        QCOMPARE(pastTheEdge(recorded), QStringList());
        const QStringList last = RecordingSurface::pageLines(recorded.pages().last());
        QVERIFY2(last.last().trimmed().split(u' ', Qt::SkipEmptyParts).size() == 12,
                 qPrintable(last.last())); // eleven race totals and the grand total

        const QList<PdfPage> pages =
            toPdf([&](PrintSurface& p) { printRaceTotals(**dialogs, p, session(), fanciers); });
        QVERIFY(!pages.isEmpty());
        QCOMPARE(faults(pages), QStringList());
        // Each race heading names its own site, although a heading is cut to 9 characters.
        const QList<PdfWord>& words = pages.first().words;
        QSet<QString> sites;
        for (qsizetype i = 0; i + 1 < words.size(); ++i)
            if (words[i].text == QStringLiteral("LIEU"))
                sites.insert(words[i + 1].text);
        QCOMPARE(sites.size(), 11);
    }

    // The detail per fancier of the first race, every stake line up to the sub-total.
    void detailKeepsEveryColumnApartAndInsideThePage() {
        Session& s = session();
        const std::array<int16_t, 12> chosen = s.ChosenRaceCodes;
        s.ChosenRaceCodes = {};
        s.ChosenRaceCodes[1] = chosen[1];
        RecordingSurface recorded;
        printFancierDetail(**dialogs, recorded, s, listed());
        s.ChosenRaceCodes = chosen;
        QCOMPARE(pastTheEdge(recorded), QStringList());
        // The head lines (after the title) and the totals lines (the last ones) hold one
        // word per column: nothing runs together, the pigeon total of the whole club
        // included.
        const QStringList first = RecordingSurface::pageLines(recorded.pages().first());
        const QStringList last = RecordingSurface::pageLines(recorded.pages().last());
        qsizetype headLines = 0;
        while (1 + headLines < first.size() && first[1 + headLines].startsWith(u' '))
            ++headLines;
        QVERIFY(headLines >= 4); // 94 columns: the lines go on below
        for (qsizetype i = 0; i < headLines; ++i) {
            const QString totals = last[last.size() - headLines + i];
            QCOMPARE(words(totals).size(), words(first[1 + i]).size());
            for (const QString& word : words(totals))
                QVERIFY2(isOneThing(word), qPrintable(totals));
        }
    }

    // The recap sheets, once the recaps are stored: 100 lines each, in two columns that
    // go on over the next pages.
    void recapSheetsKeepEveryAmountApartAndInsideThePage() {
        (**dialogs).answer(MsgAnswer::Yes);
        QVERIFY(storeRaceRecaps(**dialogs, session()));
        RecordingSurface recorded;
        printClubRecaps(**dialogs, recorded, session());
        QVERIFY(recorded.pages().size() >= folder.chosenRaceCodes.size());
        QCOMPARE(pastTheEdge(recorded), QStringList());
        // Every stake line ends with its unit, its count and its amount, three words.
        static const QRegularExpression amount(QStringLiteral("^-?\\d+,\\d{3}$"));
        static const QRegularExpression count(QStringLiteral("^\\d+$"));
        int stakeLines = 0;
        for (const RecordedPage& page : recorded.pages())
            for (const RecordedText& t : page.texts) {
                const QStringList w = words(t.text);
                if (w.size() < 4 || t.text.contains(u'=') || !amount.match(w.last()).hasMatch())
                    continue;
                ++stakeLines;
                QVERIFY2(count.match(w[w.size() - 2]).hasMatch() &&
                             amount.match(w[w.size() - 3]).hasMatch(),
                         qPrintable(t.text));
            }
        QVERIFY(stakeLines > 11 * 90);

        const QList<PdfPage> pages =
            toPdf([&](PrintSurface& p) { printClubRecaps(**dialogs, p, session()); });
        QCOMPARE(pages.size(), recorded.pages().size());
        QCOMPARE(faults(pages), QStringList());
        int reglage = 0;
        for (const PdfPage& page : pages)
            for (const PdfWord& w : page.words)
                reglage += w.text == QStringLiteral("Réglage");
        QCOMPARE(reglage, 11);
    }
};

QTEST_MAIN(LargeFolderTest)
#include "large_folder_wtest.moc"
