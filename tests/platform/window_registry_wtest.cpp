// Single window instances, loaded hidden on first use, rebuilt after an unload, with
// every control described by its name.
#include "platform/window_registry.h"

#include <QLineEdit>
#include <QPushButton>
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
};

QTEST_MAIN(WindowRegistryTest)
#include "window_registry_wtest.moc"
