// Single window instances, loaded hidden on first use, rebuilt after an unload, with
// every control described by its name.
#include "platform/window_registry.h"

#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QtTest>

namespace {

int g_loads = 0;

class Fenetre : public QWidget {
public:
    Fenetre() {
        ++g_loads;
        setObjectName(QStringLiteral("fenetre"));
        auto* box = new QLineEdit(this);
        box->setObjectName(QStringLiteral("Text1"));
        auto* quit = new QPushButton(QStringLiteral("Quitter"), this);
        quit->setObjectName(QStringLiteral("quitte"));
        connect(quit, &QPushButton::clicked, this, [this] { vt::windows().unload(this); });
    }
};

// A window whose load touches another window, as a main window reads another's captions.
class Principale : public QWidget {
public:
    Principale() {
        setObjectName(QStringLiteral("depart"));
        vt::windows().window<Fenetre>();
    }
};

void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

} // namespace

class WindowRegistryTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        vt::windows().unloadAll();
        processDeletes();
        g_loads = 0;
    }

    void firstUseLoadsHiddenAndLaterUsesShareTheInstance() {
        QVERIFY(!vt::windows().isLoaded<Fenetre>());
        Fenetre& a = vt::windows().window<Fenetre>();
        QVERIFY(vt::windows().isLoaded<Fenetre>());
        QVERIFY(!a.isVisible());
        QCOMPARE(&vt::windows().show<Fenetre>(), &a);
        QVERIFY(a.isVisible());
        QCOMPARE(g_loads, 1);
    }

    void unloadThenShowBuildsTheWindowAgain() {
        QPointer<Fenetre> first = &vt::windows().show<Fenetre>();
        vt::windows().unload<Fenetre>();
        QVERIFY(!vt::windows().isLoaded<Fenetre>());
        QVERIFY(!first->isVisible());
        processDeletes();
        QVERIFY(first.isNull());
        Fenetre& second = vt::windows().show<Fenetre>();
        QVERIFY(second.isVisible());
        QCOMPARE(g_loads, 2);
    }

    void aWindowUnloadsItselfFromItsOwnButton() {
        QPointer<Fenetre> w = &vt::windows().show<Fenetre>();
        QTest::mouseClick(w->findChild<QPushButton*>(QStringLiteral("quitte")), Qt::LeftButton);
        QVERIFY(!vt::windows().isLoaded<Fenetre>());
        processDeletes();
        QVERIFY(w.isNull());
    }

    // Enter on a focused button presses it, in a window that is not a dialog.
    void enterOnAFocusedButtonPressesIt() {
        Fenetre& w = vt::windows().show<Fenetre>();
        auto* quit = w.findChild<QPushButton*>(QStringLiteral("quitte"));
        quit->setFocus();
        QTest::keyClick(quit, Qt::Key_Return);
        QVERIFY(!vt::windows().isLoaded<Fenetre>());
    }

    void aDeletedWindowLeavesTheRegistry() {
        delete &vt::windows().window<Fenetre>();
        QVERIFY(!vt::windows().isLoaded<Fenetre>());
        vt::windows().window<Fenetre>();
        QCOMPARE(g_loads, 2);
    }

    void aLoadThatLoadsAnotherWindowKeepsBoth() {
        Principale& p = vt::windows().window<Principale>();
        QVERIFY(vt::windows().isLoaded<Fenetre>());
        QCOMPARE(&vt::windows().window<Principale>(), &p);
        QCOMPARE(g_loads, 1);
    }

    void controlsAreDescribedByTheirNames() {
        Fenetre& w = vt::windows().window<Fenetre>();
        QCOMPARE(w.accessibleDescription(), QStringLiteral("fenetre"));
        QCOMPARE(w.findChild<QLineEdit*>(QStringLiteral("Text1"))->accessibleDescription(),
                 QStringLiteral("Text1"));
        QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("quitte"))->accessibleDescription(),
                 QStringLiteral("quitte"));
    }

    // A window whose place would put part of it off the screen's available area opens on
    // it (as the general site editor did, 15 px below the bottom of the screen); one that
    // fits stays where it was put.
    void aWindowOpensOnTheScreen_data() {
        QTest::addColumn<QRect>("placed");
        QTest::addColumn<bool>("moves");
        const QRect a = QGuiApplication::primaryScreen()->availableGeometry();
        const int w = 400, h = 300;
        QTest::newRow("15 px below the bottom")
            << QRect(a.right() + 1 - w - 10, a.bottom() + 1 - h + 15, w, h) << true;
        QTest::newRow("past the right edge") << QRect(a.right() - 100, a.top() + 10, w, h)
                                             << true;
        QTest::newRow("above and left of the area")
            << QRect(a.left() - 50, a.top() - 20, w, h) << true;
        QTest::newRow("on the screen") << QRect(a.left() + 20, a.top() + 30, w, h) << false;
        QTest::newRow("taller than the area")
            << QRect(a.left() + 10, a.top() + 40, w, a.height() + 100) << true;
    }
    void aWindowOpensOnTheScreen() {
        QFETCH(QRect, placed);
        QFETCH(bool, moves);
        const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
        Fenetre& w = vt::windows().window<Fenetre>();
        w.setGeometry(placed);
        vt::windows().show<Fenetre>();
        QCoreApplication::processEvents();
        QVERIFY2(area.contains(w.frameGeometry()),
                 qPrintable(QStringLiteral("%1,%2 %3x%4")
                                .arg(w.frameGeometry().x())
                                .arg(w.frameGeometry().y())
                                .arg(w.frameGeometry().width())
                                .arg(w.frameGeometry().height())));
        if (!moves)
            QCOMPARE(w.geometry(), placed);
        else if (placed.height() <= area.height() / 2)
            QCOMPARE(w.size(), placed.size()); // moved, not resized
    }
};

QTEST_MAIN(WindowRegistryTest)
#include "window_registry_wtest.moc"
