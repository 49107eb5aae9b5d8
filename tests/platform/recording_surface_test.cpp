// The printer semantics, checked on the recording surface (Liberation Mono metrics).
#include "platform/recording_surface.h"

#include <gtest/gtest.h>

using namespace vt;

namespace {

constexpr double Advance12 = 2.54;      // 0.6 em at 12 points
constexpr double Line12 = 1.1328 * 12 * 25.4 / 72; // 4.796 mm
constexpr double Line11 = 1.1328 * 11 * 25.4 / 72; // 4.396 mm
constexpr double Mm = 1e-3;

QString chars(int n) { return QString(n, QLatin1Char('x')); }

} // namespace

TEST(RecordingSurface, TextLeavesXAfterItAndLineEndGoesBackToTheLeftEdge) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Essai"));
    s.setCurrentX(10);
    s.print(QStringLiteral("ABCD"));
    EXPECT_NEAR(s.currentX(), 10 + 4 * Advance12, Mm);
    EXPECT_NEAR(s.currentY(), 0, Mm);
    s.endLine();
    EXPECT_NEAR(s.currentX(), 0, Mm);
    EXPECT_NEAR(s.currentY(), Line12, Mm);
    s.printLine(); // an empty line is a line end only
    EXPECT_NEAR(s.currentY(), 2 * Line12, Mm);
    s.endDocument();
    ASSERT_EQ(s.pages().size(), 1);
    ASSERT_EQ(s.pages()[0].texts.size(), 1);
    EXPECT_NEAR(s.pages()[0].texts[0].x, 10, Mm);
}

TEST(RecordingSurface, PrintZonesAreFourteenColumnsStrictlyAfterX) {
    struct Case {
        int printed;       // characters printed from the left edge
        double expectedMm; // X after "next zone"
    };
    const Case cases[] = {
        {0, 14 * Advance12},  // from the left edge: the second zone, 35.56 mm
        {13, 14 * Advance12}, // inside the first zone
        {14, 28 * Advance12}, // on a boundary: the next one
        {43, 56 * Advance12}, // a 43-character race line: column 57
        {55, 56 * Advance12},
        {56, 70 * Advance12}, // exactly 56: column 71
    };
    for (const Case& c : cases) {
        RecordingSurface s;
        s.beginDocument(QStringLiteral("Zones"));
        s.print(chars(c.printed));
        s.nextZone();
        EXPECT_NEAR(s.currentX(), c.expectedMm, Mm) << c.printed << " characters";
        s.endDocument();
    }
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Zones"));
    s.nextZone();
    EXPECT_NEAR(s.currentX(), 35.56, Mm);
}

TEST(RecordingSurface, TabGoesToAColumnAndEndsTheLineWhenXIsBeyondIt) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Tab"));
    s.tab(26);
    EXPECT_NEAR(s.currentX(), 63.5, Mm);
    EXPECT_NEAR(s.currentY(), 0, Mm);

    s.setCurrentX(0);
    s.print(chars(29)); // X at column 30
    s.tab(24);
    EXPECT_NEAR(s.currentX(), 23 * Advance12, Mm);
    EXPECT_NEAR(s.currentY(), Line12, Mm);

    s.tab(24); // already there: no line end
    EXPECT_NEAR(s.currentY(), Line12, Mm);
    s.endDocument();
}

TEST(RecordingSurface, LineEndUsesTheSizeCurrentAtThatMoment) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Tailles"));
    s.setFontSize(8);
    s.print(QStringLiteral("petit"));
    s.setFontSize(11);
    s.endLine();
    EXPECT_NEAR(s.currentY(), Line11, Mm);
    EXPECT_NEAR(s.lineHeight(), Line11, Mm);
    s.endDocument();
}

TEST(RecordingSurface, ScaleTopMovesTheOrigin) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Echelle"));
    s.setScaleMillimetres(-5);
    EXPECT_EQ(s.scaleTop(), -5);
    s.setCurrentY(5);
    s.print(QStringLiteral("texte"));
    s.endDocument();
    const RecordedText& t = s.pages()[0].texts[0];
    EXPECT_NEAR(t.y, 5, Mm);
    EXPECT_NEAR(t.y - t.scaleTop, 10, Mm); // 10 mm below the top of the printable area
}

TEST(RecordingSurface, ALinePastTheBottomContinuesOnANewPageInItsColumn) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Etiquettes"));
    s.setScaleMillimetres(-5);
    const double bottom = -5 + s.scaleHeight(); // 284 mm
    s.setCurrentX(100);
    s.setCurrentY(bottom - Line12 + 0.001); // fits
    s.print(QStringLiteral("dernière"));
    s.setCurrentX(100);
    s.setCurrentY(bottom - Line12 + 0.1); // would pass the bottom
    s.print(QStringLiteral("suivante"));
    EXPECT_NEAR(s.currentY(), -5, Mm);
    s.endLine();
    s.print(QStringLiteral("ligne"));
    s.endDocument();

    ASSERT_EQ(s.pages().size(), 2);
    ASSERT_EQ(s.pages()[0].texts.size(), 1);
    const RecordedText& moved = s.pages()[1].texts[0];
    EXPECT_EQ(moved.text, QStringLiteral("suivante"));
    EXPECT_NEAR(moved.x, 100, Mm);
    EXPECT_NEAR(moved.y, -5, Mm);
    EXPECT_NEAR(s.pages()[1].texts[1].y, -5 + Line12, Mm);
}

TEST(RecordingSurface, LinesThatRunOffTheBottomFillPageAfterPage) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Liste"));
    const int perPage = int(s.scaleHeight() / Line12); // 60 lines of 12 points
    for (int i = 0; i < perPage * 2 + 1; ++i)
        s.printLine(QStringLiteral("ligne %1").arg(i));
    s.endDocument();
    ASSERT_EQ(s.pages().size(), 3);
    EXPECT_EQ(s.pages()[0].texts.size(), perPage);
    EXPECT_EQ(s.pages()[1].texts.first().text, QStringLiteral("ligne %1").arg(perPage));
    EXPECT_NEAR(s.pages()[1].texts.first().y, 0, Mm);
    EXPECT_EQ(s.pages()[2].texts.size(), 1);
}

TEST(RecordingSurface, PagesBeginOnlyWhenSomethingIsDrawn) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Vide"));
    s.printLine();
    s.newPage();
    EXPECT_TRUE(s.endDocument().nothing()); // nothing drawn: no page, no status
    ASSERT_EQ(s.documents().size(), 1);
    EXPECT_TRUE(s.documents()[0].pages.isEmpty());

    s.beginDocument(QStringLiteral("Deux pages"));
    s.setCurrentX(50);
    s.setCurrentY(50);
    s.printLine(QStringLiteral("un"));
    s.newPage();
    EXPECT_EQ(s.currentX(), 0);
    EXPECT_EQ(s.currentY(), 0);
    s.newPage(); // a second break with nothing between gives no blank page
    s.printLine(QStringLiteral("deux"));
    s.newPage(); // followed by the end: ejects nothing
    const QString status = s.endDocument().message;
    EXPECT_EQ(s.pages().size(), 2);
    EXPECT_TRUE(status.contains(QStringLiteral("Deux pages"))) << status.toStdString();
    EXPECT_EQ(s.documents().size(), 2);
}

TEST(RecordingSurface, EveryJobStartsFromTheSameSettings) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Enveloppes"));
    s.setOrientation(Orientation::Landscape);
    s.setScaleMillimetres(-5);
    s.setFontName(QStringLiteral("Times New Roman"));
    s.setFontSize(20);
    s.setBold(true);
    s.setItalic(true);
    s.setUnderline(true);
    s.setForeColor(255);
    s.setCurrentX(40);
    s.setCurrentY(40);
    s.print(QStringLiteral("adresse"));
    s.endDocument();
    EXPECT_EQ(s.pages()[0].orientation, Orientation::Landscape);
    EXPECT_EQ(s.pages()[0].texts[0].color, 255);

    s.setOrientation(Orientation::Portrait); // after the end: no effect on what follows
    s.beginDocument(QStringLiteral("Liste"));
    EXPECT_EQ(s.fontName(), QStringLiteral("Courier New"));
    EXPECT_EQ(s.fontSize(), 12);
    EXPECT_FALSE(s.bold());
    EXPECT_FALSE(s.italic());
    EXPECT_FALSE(s.underline());
    EXPECT_EQ(s.foreColor(), 0);
    EXPECT_EQ(s.scaleTop(), 0);
    EXPECT_EQ(s.currentX(), 0);
    EXPECT_EQ(s.currentY(), 0);
    EXPECT_EQ(s.scaleWidth(), 202);
    EXPECT_EQ(s.scaleHeight(), 289);
    s.print(QStringLiteral("nom"));
    s.endDocument();
    const RecordedPage& page = s.pages()[0];
    EXPECT_EQ(page.orientation, Orientation::Portrait);
    EXPECT_EQ(page.texts[0].fontName, QStringLiteral("Courier New"));
    EXPECT_FALSE(page.texts[0].bold);
    EXPECT_EQ(page.texts[0].color, 0);
}

TEST(RecordingSurface, OrientationSetAfterDrawingAppliesFromTheNextPage) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Orientation"));
    s.setOrientation(Orientation::Landscape);
    EXPECT_EQ(s.scaleWidth(), 289);
    s.print(QStringLiteral("paysage"));
    s.setOrientation(Orientation::Portrait);
    EXPECT_EQ(s.scaleWidth(), 289); // the page being drawn stays landscape
    s.newPage();
    s.print(QStringLiteral("portrait"));
    s.endDocument();
    ASSERT_EQ(s.pages().size(), 2);
    EXPECT_EQ(s.pages()[0].orientation, Orientation::Landscape);
    EXPECT_EQ(s.pages()[1].orientation, Orientation::Portrait);
}

TEST(RecordingSurface, StateCarriesOverFromPageToPageWithinAJob) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Recap"));
    s.setFontSize(13);
    s.setBold(true);
    s.setForeColor(255);
    s.print(QStringLiteral("rouge"));
    s.newPage();
    s.print(QStringLiteral("encore"));
    s.endDocument();
    const RecordedText& t = s.pages()[1].texts[0];
    EXPECT_EQ(t.fontSize, 13);
    EXPECT_TRUE(t.bold);
    EXPECT_EQ(t.color, 255);
}

TEST(RecordingSurface, UnderlinedSpacesAreKeptAsARule) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Carnet"));
    s.setOrientation(Orientation::Landscape);
    s.setFontSize(10);
    s.setUnderline(true);
    s.print(QString(140, QLatin1Char(' ')));
    s.setUnderline(false);
    s.setFontSize(11);
    s.endLine();
    s.endDocument();
    ASSERT_EQ(s.pages().size(), 1);
    const RecordedText& rule = s.pages()[0].texts[0];
    EXPECT_TRUE(rule.underline);
    EXPECT_EQ(rule.text.size(), 140);
    EXPECT_NEAR(s.textWidth(QString(140, QLatin1Char(' '))), 140 * Advance12, Mm);
}

TEST(RecordingSurface, PageLinesPlaceTextsAtTheirColumns) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Totaux"));
    s.setFontSize(9);
    s.print(QStringLiteral(" DUPONT"));
    s.tab(25);
    s.print(QStringLiteral("12"));
    s.endLine();
    s.setCurrentY(0); // printed over the first line again
    s.tab(40);
    s.print(QStringLiteral("TOTAUX   "));
    s.endLine();
    s.setFontSize(12);
    s.setCurrentX(2 * Advance12);
    s.print(QStringLiteral("fin"));
    s.endDocument();
    const QStringList lines = RecordingSurface::pageLines(s.pages()[0]);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], QStringLiteral(" DUPONT") + QString(17, QLatin1Char(' ')) +
                            QStringLiteral("12") + QString(13, QLatin1Char(' ')) +
                            QStringLiteral("TOTAUX"));
    EXPECT_EQ(lines[1], QStringLiteral("  fin"));
    EXPECT_EQ(s.allText(), QStringLiteral(" DUPONT12TOTAUX   \nfin"));
}

TEST(RecordingSurface, DrawingsStartAPageAndAreKeptInMillimetres) {
    RecordingSurface s;
    s.beginDocument(QStringLiteral("Cadre"));
    s.setScaleMillimetres(-5);
    s.drawRect(0, 0, 100, 50);
    s.drawLine(0, 10, 100, 10);
    s.drawImage(20, 30, QImage(40, 20, QImage::Format_RGB32));
    s.endDocument();
    ASSERT_EQ(s.pages().size(), 1);
    const RecordedPage& p = s.pages()[0];
    ASSERT_EQ(p.lines.size(), 2);
    EXPECT_TRUE(p.lines[0].rect);
    EXPECT_EQ(p.lines[1].y1, 10);
    ASSERT_EQ(p.images.size(), 1);
    EXPECT_EQ(p.images[0].size, QSize(40, 20));
    EXPECT_EQ(p.images[0].y, 30);
}

TEST(RecordingSurface, PrintingWithoutBeginOpensADocument) {
    RecordingSurface s;
    s.print(QStringLiteral("seul"));
    EXPECT_EQ(s.pages().size(), 1); // the open document is visible before its end
    EXPECT_FALSE(s.endDocument().nothing());
    EXPECT_EQ(s.documents().size(), 1);
    s.clear();
    EXPECT_TRUE(s.documents().isEmpty());
}
