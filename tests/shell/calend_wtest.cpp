// The calendar chooser as it is painted: the options in their colours.
#include "shell/calend_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"

#include "common/session.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/shell/shell_window_support.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QImage>
#include <QRadioButton>
#include <QTest>

#include <memory>

using namespace vt;
using namespace vt::testing;

namespace {

// True when some pixel of the image has this colour.
bool holdsColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF))
                return true;
    return false;
}

} // namespace

class CalendTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> club;

    // The option as it is painted, and the colour of a pixel of its background (right of
    // its caption).
    static QImage paintedOption() { return calendarOption()->grab().toImage(); }
    static QRgb backgroundPixel(const QImage& image) {
        return image.pixel(image.width() - 4, image.height() / 2) & 0xFFFFFF;
    }

private slots:
    void init() {
        club = std::make_unique<ClubFixture>();
        club->writeClub(QStringLiteral("LES AILES"), QStringLiteral("59012"));
        club->configureSession();
    }
    void cleanup() {
        windows().unloadAll();
        club.reset();
    }

    // "Choisir les CONCOURS": the club's calendar on pale yellow in dark blue; once
    // clicked (an empty calendar leaves the chooser loaded), on pale cyan in red.
    void theOptionsArePaintedInTheirColours() {
        ScriptedDialogsScope dialogs;
        depart& main = windows().show<depart>();
        main.findChild<QAction*>(QStringLiteral("chconc"))->trigger();
        QVERIFY(windows().window<calend>().isVisible());
        QCOMPARE(calendarOption()->text(), QStringLiteral("LES AILES"));
        QImage normal = paintedOption();
        QCOMPARE(backgroundPixel(normal), qRgb(0xFF, 0xFF, 0xC0) & 0xFFFFFF);
        QVERIFY(holdsColour(normal, qRgb(0, 0, 0xC0)));
        QVERIFY(!holdsColour(normal, qRgb(0xFF, 0, 0)));

        clickCalendar();
        QVERIFY(windows().isLoaded<calend>());
        QVERIFY(!windows().isLoaded<choiconc>() || !windows().window<choiconc>().isVisible());
        QImage chosen = paintedOption();
        QCOMPARE(backgroundPixel(chosen), qRgb(0xC0, 0xFF, 0xFF) & 0xFFFFFF);
        QVERIFY(holdsColour(chosen, qRgb(0xFF, 0, 0)));

        // Shown again, it starts from the normal colours.
        windows().window<calend>().selectNeutral();
        QCOMPARE(backgroundPixel(paintedOption()), qRgb(0xFF, 0xFF, 0xC0) & 0xFFFFFF);
        QVERIFY(dialogs->asked().isEmpty());
    }
};

QTEST_MAIN(CalendTest)
#include "calend_wtest.moc"
