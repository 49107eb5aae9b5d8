// Help topics: one French page per topic 1 to 9, opened in the help window.
#include "platform/help.h"
#include "platform/help_window.h"

#include <QPushButton>
#include <QTextBrowser>
#include <QtTest>

class HelpTest : public QObject {
    Q_OBJECT
private slots:
    void everyTopicHasAFrenchPage() {
        for (int t = 1; t <= vt::HelpTopicCount; ++t) {
            const QString page = vt::helpPage(t);
            QVERIFY2(page.contains(QStringLiteral("<h1>")), qPrintable(QString::number(t)));
            QVERIFY(!vt::helpTitle(t).isEmpty());
        }
        QVERIFY(vt::helpPage(0).isEmpty());
        QVERIFY(vt::helpPage(10).isEmpty());
    }

    void showHelpOpensTheWindowAtTheTopic() {
        vt::showHelp(4);
        QCOMPARE(vt::lastHelpTopic(), 4);
        vt::HelpWindow* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* h = qobject_cast<vt::HelpWindow*>(w))
                window = h;
        }
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QCOMPARE(window->topic(), 4);
        auto* page = window->findChild<QTextBrowser*>(QStringLiteral("page"));
        QVERIFY(page->toPlainText().contains(QStringLiteral("GENERAL")));

        vt::showHelp(1); // the same window, another topic
        QCOMPARE(window->topic(), 1);
        vt::showHelp(42); // no such page: the general page
        QCOMPARE(vt::lastHelpTopic(), 42);
        QCOMPARE(window->topic(), 8);

        // Enter on the focused "Fermer" closes the window.
        auto* close = window->findChild<QPushButton*>(QStringLiteral("fermer"));
        close->setFocus();
        QTest::keyClick(close, Qt::Key_Return);
        QVERIFY(!window->isVisible());
    }
};

QTEST_MAIN(HelpTest)
#include "help_wtest.moc"
