// Enter moves on to the next box with its text selected; Esc and Del clear the box.
#include "platform/box_keys.h"

#include <QAction>
#include <QtTest>

class BoxKeysTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        window = std::make_unique<QWidget>();
        first = new QLineEdit(window.get());
        second = new QLineEdit(window.get());
        second->setText(QStringLiteral("480506"));
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        first->setFocus();
    }
    void cleanup() { window.reset(); }

    void enterMovesToTheNextBoxWithItsTextSelected() {
        vt::installBoxKeys(first, second);
        first->setText(QStringLiteral("12"));
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(first->text(), QStringLiteral("12")); // swallowed, not typed
        QCOMPARE(QApplication::focusWidget(), second);
        QCOMPARE(second->selectedText(), QStringLiteral("480506"));
        QTest::keyClick(second, Qt::Key_Enter); // no keys installed there: ordinary
        QCOMPARE(second->text(), QStringLiteral("480506"));
    }

    void aRefusedValueKeepsTheFocus() {
        int calls = 0;
        vt::installBoxKeys(first, second, [&] { ++calls; return first->text() == "ok"; });
        first->setText(QStringLiteral("abc"));
        QTest::keyClick(first, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), first);
        first->setText(QStringLiteral("ok"));
        QTest::keyClick(first, Qt::Key_Enter);
        QCOMPARE(QApplication::focusWidget(), second);
        QCOMPARE(calls, 2);
    }

    void enterWithoutANextBoxOnlyRunsTheHandler() {
        bool ran = false;
        vt::installBoxKeys(first, nullptr, [&] { ran = true; return true; });
        QTest::keyClick(first, Qt::Key_Return);
        QVERIFY(ran);
        QCOMPARE(QApplication::focusWidget(), first);
    }

    void escapeAndDeleteClearTheWholeBox() {
        vt::installBoxKeys(first, second);
        first->setText(QStringLiteral("DUPONT"));
        first->setCursorPosition(2);
        QTest::keyClick(first, Qt::Key_Escape);
        QCOMPARE(first->text(), QString());
        first->setText(QStringLiteral("DUPONT"));
        first->setCursorPosition(0);
        QTest::keyClick(first, Qt::Key_Delete);
        QCOMPARE(first->text(), QString());
        QTest::keyClicks(first, QStringLiteral("ab"));
        QCOMPARE(first->text(), QStringLiteral("ab")); // other keys type normally
    }

    void theBoxKeepsItsKeysOverTheWindowsShortcuts() {
        int fired = 0;
        auto* action = new QAction(window.get());
        action->setShortcuts({QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Delete)});
        window->addAction(action);
        connect(action, &QAction::triggered, [&] { ++fired; });
        vt::installBoxKeys(first, second);
        first->setText(QStringLiteral("DUPONT"));
        QTest::keyClick(first, Qt::Key_Escape);
        QCOMPARE(first->text(), QString());
        QCOMPARE(fired, 0);
    }

private:
    std::unique_ptr<QWidget> window;
    QLineEdit* first = nullptr;
    QLineEdit* second = nullptr;
};

QTEST_MAIN(BoxKeysTest)
#include "box_keys_wtest.moc"
