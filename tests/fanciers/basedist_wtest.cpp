#include "fanciers/basedist_window.h"
#include "fanciers/distance_window.h"

#include "common/record_file.h"
#include "platform/help.h"
#include "platform/printing.h"
#include "platform/recording_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/fanciers/site_window_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::child;
using vt::testing::readBytes;

class BasedistTest : public QObject {
    Q_OBJECT

    testing::SiteWindowFixture fixture;

    basedist& open() {
        basedist& w = windows().show<basedist>();
        if (!QTest::qWaitForWindowActive(&w))
            qWarning("basedist is not active");
        return w;
    }
    static void type(QLineEdit* box, const QString& text) {
        box->setFocus();
        QTest::keyClicks(box, text);
    }
    static void enter(QLineEdit* box) { QTest::keyClick(box, Qt::Key_Return); }
    QList<ReleaseSiteRecord> general() const {
        return RecordFileOf<ReleaseSiteRecord>(session().GeneralSitesPath).readAll();
    }

private slots:
    void init() {
        fixture.setUp({{"TOURS", 472338, 4122, 0}, {"arras", 501700, 24600, 0}},
                      {{"arras", 501700, 24600, 0}});
    }
    void cleanup() { fixture.tearDown(); }

    void controlsAtLoad() {
        basedist& w = open();
        QVERIFY(!child<QListWidget>(w, "List1")->isVisible());
        QVERIFY(!child<QLabel>(w, "Label7")->isVisible());
        QCOMPARE(child<QListWidget>(w, "List1")->count(), 2);
        QCOMPARE(child<QListWidget>(w, "List1")->item(0)->text().left(25).trimmed(),
                 QStringLiteral("arras"));
        QCOMPARE(child<QPushButton>(w, "Command1")->text(), QStringLiteral("Mémoriser"));
        QCOMPARE(child<QLineEdit>(w, "Text6")->accessibleDescription(), QStringLiteral("Text6"));
        for (const char* a : {"edit", "conf", "quitte", "aide"})
            QVERIFY(child<QAction>(w, a) != nullptr);
    }

    // Name, Enter, latitude, Enter, Enter on an empty east box passes to the west box,
    // west, Enter, and "Mémoriser" stores the site at its sorted place.
    void typingAWestSite() {
        basedist& w = open();
        auto* text6 = child<QLineEdit>(w, "Text6");
        auto* text1 = child<QLineEdit>(w, "Text1");
        auto* text2 = child<QLineEdit>(w, "Text2");
        auto* text7 = child<QLineEdit>(w, "Text7");
        type(text6, "Bordeaux");
        enter(text6);
        QCOMPARE(QApplication::focusWidget(), text1);
        type(text1, "445017.25");
        enter(text1);
        QCOMPARE(text1->text(), QStringLiteral("445017,25"));
        QCOMPARE(QApplication::focusWidget(), text2);
        enter(text2);
        QCOMPARE(QApplication::focusWidget(), text7);
        QTest::keyClicks(text7, "3436");
        enter(text7);
        QCOMPARE(QApplication::focusWidget(), child<QPushButton>(w, "Command1"));
        QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);

        auto* list = child<QListWidget>(w, "List1");
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(1)->text(),
                 QStringLiteral("Bordeaux                  445017.25         0      3436"));
        QVERIFY(text6->text().isEmpty() && text1->text().isEmpty());
        QCOMPARE(QApplication::focusWidget(), text6);
        QVERIFY(fixture.dialogs().asked().isEmpty());
    }

    void duplicateNameOnEnterShowsTheLabel() {
        basedist& w = open();
        auto* text6 = child<QLineEdit>(w, "Text6");
        auto* label7 = child<QLabel>(w, "Label7");
        type(text6, " ARRAS ");
        enter(text6);
        QVERIFY(label7->isVisible());
        QCOMPARE(QApplication::focusWidget(), text6);
        QCOMPARE(text6->selectedText(), QStringLiteral(" ARRAS "));
        QTest::keyClick(text6, Qt::Key_End);
        QVERIFY(!label7->isVisible());
    }

    void textThatIsNotANumberIsRefused() {
        basedist& w = open();
        auto* text1 = child<QLineEdit>(w, "Text1");
        fixture.dialogs().answer(MsgAnswer::Ok);
        type(text1, "48a");
        enter(text1);
        QCOMPARE(QApplication::focusWidget(), text1);
        QCOMPARE(fixture.dialogs().messages().size(), 1);
        QVERIFY(fixture.dialogs().messages().at(0).text.contains("LATITUDE"));
    }

    // Modify "arras" and quit: distgen in name order and distloc's "arras" take the new values.
    void modifyAndQuit() {
        basedist& w = open();
        QTest::mouseClick(child<QPushButton>(w, "Command3"), Qt::LeftButton);
        QVERIFY(child<QListWidget>(w, "List1")->isVisible());
        w.editSiteFromList(0);
        QVERIFY(!child<QAction>(w, "quitte")->isVisible());
        QCOMPARE(child<QLineEdit>(w, "Text6")->text(), QStringLiteral("arras"));
        QCOMPARE(child<QLineEdit>(w, "Text1")->text(), QStringLiteral("501700"));
        child<QLineEdit>(w, "Text1")->setText("501728");
        child<QLineEdit>(w, "Text2")->setText("24650");
        QTest::mouseClick(child<QPushButton>(w, "Command1"), Qt::LeftButton);
        QVERIFY(child<QAction>(w, "quitte")->isVisible());
        child<QAction>(w, "quitte")->trigger();
        testing::processPending();
        QVERIFY(!windows().isLoaded<basedist>());

        const auto gen = general();
        QCOMPARE(gen.size(), 2);
        QCOMPARE(gen[0].siteName().trimmed(), QStringLiteral("arras"));
        QCOMPARE(gen[0].latitudeDms(), 501728.0);
        const auto loc = RecordFileOf<ReleaseSiteRecord>(session().LocalSitesPath).readAll();
        QCOMPARE(loc.size(), 1);
        QCOMPARE(loc[0], gen[0]);
    }

    // The close box with a site taken out puts it back and saves.
    void closeBoxPutsTheSiteBack() {
        const QByteArray before = readBytes(session().GeneralSitesPath);
        basedist& w = open();
        w.editSiteFromList(1);
        w.close();
        testing::processPending();
        QCOMPARE(general().size(), 2);
        QCOMPARE(readBytes(session().GeneralSitesPath).size(), before.size());
    }

    void reopenAsksWhenChanged() {
        basedist& w = open();
        w.editSiteFromList(0);
        fixture.dialogs().answer(MsgAnswer::No);
        basedist::reopen();
        testing::processPending();
        const auto asked = fixture.dialogs().messages();
        QCOMPARE(asked.size(), 1);
        QCOMPARE(asked[0].text,
                 QStringLiteral("Enregistrer les modifications des lieux de lâcher ?"));
        QCOMPARE(asked[0].defaultButton, MsgAnswer::Yes);
        QCOMPARE(windows().window<basedist>().editor().sites().size(), 2); // reloaded
    }

    void printAndHelp() {
        auto* surface = new RecordingSurface;
        auto previous = setPrinter(std::unique_ptr<PrintSurface>(surface));
        basedist& w = open();
        {
            // Where the list went is said once, in a message over the editor.
            ScriptedDialogsScope d;
            d->answer(MsgAnswer::Ok);
            child<QAction>(w, "edit")->trigger();
            QCOMPARE(d->messages().size(), 1);
            QCOMPARE(d->messages().at(0).text,
                     QStringLiteral("Impression « Lieux de lâcher » : 1 page"));
            QCOMPARE(d->messages().at(0).title, w.windowTitle());
            QCOMPARE(d->messages().at(0).icon, MsgIcon::Information);
        }
        QCOMPARE(surface->documents().size(), 1);
        QVERIFY(surface->allText().contains("Liste des LIEUX de LACHER du FICHIER GENERAL"));
        QVERIFY(surface->allText().contains("  1 arras"));
        setPrinter(std::move(previous));
        child<QAction>(w, "aide")->trigger();
        QCOMPARE(lastHelpTopic(), 4);
        QVERIFY(!helpPage(4).isEmpty());
    }
};

QTEST_MAIN(BasedistTest)
#include "basedist_wtest.moc"
