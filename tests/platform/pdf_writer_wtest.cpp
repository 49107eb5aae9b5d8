// The program's PDF writer read back from the bytes it wrote, as a reader reads them: each
// text comes back as it was given, whatever parentheses or backslashes it holds, and a text
// given a right edge is drawn inside a clip that ends there, that text and no other.
#include "platform/pdf_writer.h"
#include "tests/support/pdf_content.h"

#include <QBuffer>
#include <QFont>
#include <QRawFont>
#include <QtTest>

#include <functional>

using vt::testing::PdfShownText;

namespace {

constexpr double PageHeight = 842;

struct Written {
    bool finished = false;
    QList<PdfShownText> texts;
    QString error; // what could not be read back
};

// One A4 page drawn by `draw` in Liberation Mono, written to memory and read back.
Written writePage(const std::function<void(vt::PdfWriter&, const QRawFont&)>& draw) {
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    vt::PdfWriter pdf(&sink, QStringLiteral("Vorel"), QStringLiteral("Essai"));
    pdf.beginPage(QSizeF(595, PageHeight));
    draw(pdf, QRawFont::fromFont(QFont(QStringLiteral("Liberation Mono"))));
    Written w;
    w.finished = pdf.finish();
    w.texts = vt::testing::pdfShownTextsOfFile(sink.data(), &w.error);
    return w;
}

} // namespace

class PdfWriterTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(
            vt::PdfWriter::canEmbed(QRawFont::fromFont(QFont(QStringLiteral("Liberation Mono")))));
    }

    // Parentheses alone or in pairs, backslashes before anything, a control character and
    // the letters above ASCII: the string read back is the text drawn, at its place.
    void aTextComesBackAsItWasDrawn_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("parentheses in a pair") << QStringLiteral("LACHER (2)");
        QTest::newRow("a closing parenthesis alone") << QStringLiteral("3) RETOUR");
        QTest::newRow("an opening parenthesis alone") << QStringLiteral("A ( B");
        QTest::newRow("closing before opening") << QStringLiteral("))((");
        QTest::newRow("backslashes, one at the end") << QStringLiteral("C:\\VOREL\\");
        QTest::newRow("backslash before a parenthesis") << QStringLiteral("\\(n)\\");
        QTest::newRow("a tab") << QStringLiteral("A\tB");
        QTest::newRow("letters above ASCII") << QStringLiteral("Fédération à 10 €");
    }
    void aTextComesBackAsItWasDrawn() {
        QFETCH(QString, text);
        const Written w = writePage([&text](vt::PdfWriter& pdf, const QRawFont& font) {
            pdf.drawText(20, 100, text, font, 12, Qt::black);
            pdf.drawText(20, 120, QStringLiteral("SUIVANTE"), font, 12, Qt::black);
        });
        QVERIFY(w.finished);
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        QCOMPARE(w.texts.size(), 2);
        QCOMPARE(w.texts[0].text, text);
        QCOMPARE(w.texts[0].x, 20.0);
        QCOMPARE(w.texts[0].y, PageHeight - 100);
        QCOMPARE(w.texts[0].size, 12.0);
        QCOMPARE(w.texts[1].text, QStringLiteral("SUIVANTE"));
    }

    // A text given a right edge is drawn inside a clip that ends at that edge and covers
    // its whole line from its start; the clip ends with it, so the next text, given no
    // edge or another one, is not cut at the first one's.
    void aTextIsCutAtItsRightEdgeAndTheNextOneIsNot() {
        const Written w = writePage([](vt::PdfWriter& pdf, const QRawFont& font) {
            pdf.drawText(20, 100, QStringLiteral("COUPE A 100 POINTS"), font, 12, Qt::black, 100);
            pdf.drawText(20, 120, QStringLiteral("ENTIERE"), font, 12, Qt::black);
            pdf.drawText(150, 140, QStringLiteral("COUPE A 300 POINTS"), font, 12, Qt::black, 300);
        });
        QVERIFY(w.finished);
        QVERIFY2(w.error.isEmpty(), qPrintable(w.error));
        QCOMPARE(w.texts.size(), 3);

        const PdfShownText& cut = w.texts[0];
        QVERIFY(!cut.clip.isNull());
        QCOMPARE(cut.clip.right(), 100.0);
        const QRectF line(cut.x, cut.y - cut.size, 100 - cut.x, 2 * cut.size);
        QVERIFY2(cut.clip.contains(line), "the clip cuts the text elsewhere than its right edge");

        QVERIFY2(w.texts[1].clip.isNull(), "a text given no edge is cut");

        const PdfShownText& wider = w.texts[2];
        QVERIFY(!wider.clip.isNull());
        QCOMPARE(wider.clip.right(), 300.0);
        QVERIFY(wider.clip.contains(QRectF(150, wider.y - 12, 150, 24)));
    }
};

QTEST_MAIN(PdfWriterTest)
#include "pdf_writer_wtest.moc"
