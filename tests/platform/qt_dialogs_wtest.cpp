// The message and input boxes users see: French buttons, the asked default button, Esc,
// and Cancel giving an empty answer.
#include "platform/qt_dialogs.h"
#include "platform/window_registry.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include <functional>

namespace {

// Runs `act` on the modal box once it is shown.
void whenBoxShows(std::function<void(QWidget*)> act) {
    QTimer::singleShot(0, [act] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box) {
            whenBoxShows(act);
            return;
        }
        act(box);
    });
}

// A window holding typed work; asked before a change, it asks the user to save it.
class WorkWindow : public QWidget, public vt::StateWindow {
public:
    bool hasPendingWork(vt::StateChange) const override { return true; }
    bool settlePendingWork() override {
        return vt::dialogs().askToSave(QStringLiteral("Les lignes ne sont pas mémorisées."),
                                       QStringLiteral("Feuille"), [] { return true; });
    }
};

QStringList buttonTexts(QMessageBox* box) {
    QStringList out;
    for (QAbstractButton* b : box->buttons())
        out.append(b->text().remove(QLatin1Char('&')));
    out.sort();
    return out;
}

} // namespace

class QtDialogsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        QVERIFY(vt::installFrenchTranslations());
        vt::installQtDialogs();
    }

    void aYesNoQuestionIsInFrenchWithItsDefaultButton() {
        QStringList texts;
        QString defaultText, title, text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        whenBoxShows([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            QVERIFY(box);
            texts = buttonTexts(box);
            defaultText = box->defaultButton()->text().remove(QLatin1Char('&'));
            title = box->windowTitle();
            text = box->text();
            icon = box->icon();
            box->button(QMessageBox::Yes)->click();
        });
        const bool yes = vt::dialogs().askYesNo(QStringLiteral("Voulez-vous enregistrer ?"),
                                                QStringLiteral("Société"), vt::MsgAnswer::No);
        QVERIFY(yes);
        QCOMPARE(texts, QStringList({QStringLiteral("Non"), QStringLiteral("Oui")}));
        QCOMPARE(defaultText, QStringLiteral("Non"));
        QCOMPARE(title, QStringLiteral("Société"));
        QCOMPARE(text, QStringLiteral("Voulez-vous enregistrer ?"));
        QCOMPARE(icon, QMessageBox::Question);
    }

    void escapeAnswersCancelOrNo() {
        whenBoxShows([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        vt::MessageRequest r;
        r.text = QStringLiteral("Lecteur non prêt");
        r.buttons = vt::MsgButtons::RetryCancel;
        r.defaultButton = vt::MsgAnswer::Retry;
        QCOMPARE(vt::dialogs().message(r), vt::MsgAnswer::Cancel);

        whenBoxShows([](QWidget* w) { QTest::keyClick(w, Qt::Key_Escape); });
        QVERIFY(!vt::dialogs().askYesNo(QStringLiteral("Supprimer ?"), QString(),
                                        vt::MsgAnswer::Yes));
    }

    void retryCancelButtonsAreFrench() {
        QStringList texts;
        whenBoxShows([&](QWidget* w) {
            auto* box = qobject_cast<QMessageBox*>(w);
            texts = buttonTexts(box);
            box->defaultButton()->click();
        });
        vt::MessageRequest r;
        r.text = QStringLiteral("Lecteur non prêt");
        r.buttons = vt::MsgButtons::RetryCancel;
        r.defaultButton = vt::MsgAnswer::Retry;
        QCOMPARE(vt::dialogs().message(r), vt::MsgAnswer::Retry);
        QCOMPARE(texts, QStringList({QStringLiteral("Annuler"), QStringLiteral("Réessayer")}));
    }

    void inputBoxGivesTheTextAndCancelGivesNothing() {
        QString shownDefault, shownPrompt;
        whenBoxShows([&](QWidget* w) {
            auto* box = qobject_cast<QInputDialog*>(w);
            QVERIFY(box);
            shownDefault = box->textValue();
            shownPrompt = box->labelText();
            box->setTextValue(QStringLiteral("12,50"));
            box->accept();
        });
        vt::InputRequest in;
        in.prompt = QStringLiteral("Montant de la cotisation");
        in.title = QStringLiteral("Récapitulatifs");
        in.defaultAnswer = QStringLiteral("10");
        QCOMPARE(vt::dialogs().input(in), QStringLiteral("12,50"));
        QCOMPARE(shownDefault, QStringLiteral("10"));
        QCOMPARE(shownPrompt, QStringLiteral("Montant de la cotisation"));

        QStringList buttons;
        whenBoxShows([&](QWidget* w) {
            for (auto* b : w->findChildren<QPushButton*>())
                buttons.append(b->text().remove(QLatin1Char('&')));
            static_cast<QDialog*>(w)->reject();
        });
        QCOMPARE(vt::dialogs().input(in), QString());
        QVERIFY2(buttons.contains(QStringLiteral("Annuler")), qPrintable(buttons.join(',')));
    }

    // A question asked in the title alone can be read whole in the title bar.
    void inputBoxIsAsWideAsItsTitle() {
        int width = 0, titleWidth = 0;
        whenBoxShows([&](QWidget* w) {
            width = w->width();
            titleWidth = w->fontMetrics().horizontalAdvance(w->windowTitle());
            static_cast<QDialog*>(w)->reject();
        });
        vt::InputRequest in;
        in.title = QStringLiteral("MONTANT des FRAIS pour ORLEANS        VIEUX");
        vt::dialogs().input(in);
        QVERIFY(titleWidth > 0);
        QVERIFY2(width >= titleWidth + 100,
                 qPrintable(QStringLiteral("%1 %2").arg(width).arg(titleWidth)));
    }

    // An answer kept in a fixed-width field stops at that width as it is typed.
    void inputBoxStopsAtTheWidthOfItsField() {
        int maxLength = 0;
        whenBoxShows([&](QWidget* w) {
            auto* edit = w->findChild<QLineEdit*>();
            QVERIFY(edit);
            maxLength = edit->maxLength();
            edit->clear();
            QTest::keyClicks(edit, QString(60, u'N'));
            static_cast<QDialog*>(w)->accept();
        });
        vt::InputRequest in;
        in.title = QStringLiteral("ENTREZ UN NOUVEAU NOM POUR ");
        in.maxLength = 50;
        QCOMPARE(vt::dialogs().input(in), QString(50, u'N'));
        QCOMPARE(maxLength, 50);
    }

    // The program's end is started from the main window, in front of the window with the
    // typed work: that window comes to the front and the question opens over it, and a
    // box after the change opens over the active window again.
    void theQuestionBeforeAChangeOpensOverTheWindowWithTheWork() {
        WorkWindow work;
        work.setWindowTitle(QStringLiteral("Feuille"));
        work.show();
        QWidget main;
        main.setWindowTitle(QStringLiteral("Principale"));
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));

        QWidget* parent = nullptr;
        bool workShownOnTop = false;
        whenBoxShows([&](QWidget* w) {
            parent = w->parentWidget();
            workShownOnTop = work.isVisible() && vt::windowBeingAsked() == &work;
            static_cast<QMessageBox*>(w)->button(QMessageBox::No)->click();
        });
        QVERIFY(vt::askBeforeChange(vt::StateChange::ProgramEnd));
        QCOMPARE(parent, &work);
        QVERIFY(workShownOnTop);
        QCOMPARE(vt::windowBeingAsked(), nullptr);

        // Annuler stops the change; the window is no longer the one asked about.
        whenBoxShows(
            [](QWidget* w) { static_cast<QMessageBox*>(w)->button(QMessageBox::Cancel)->click(); });
        QVERIFY(!vt::askBeforeChange(vt::StateChange::ProgramEnd));
        QCOMPARE(vt::windowBeingAsked(), nullptr);
        work.hide();
    }

    void folderChooserGivesTheChosenFolderOrNothing() {
        QTemporaryDir dir;
        QDir(dir.path()).mkdir(QStringLiteral("export"));
        const QString wanted = dir.filePath(QStringLiteral("export"));
        QString title;
        whenBoxShows([&](QWidget* w) {
            auto* box = qobject_cast<QFileDialog*>(w);
            QVERIFY(box);
            title = box->windowTitle();
            box->selectFile(wanted);
            QMetaObject::invokeMethod(box, "accept");
        });
        QCOMPARE(vt::dialogs().chooseFolder(QStringLiteral("Dossier de mémorisation"), dir.path()),
                 wanted);
        QCOMPARE(title, QStringLiteral("Dossier de mémorisation"));

        whenBoxShows([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
        QCOMPARE(vt::dialogs().chooseFolder(QStringLiteral("Dossier"), dir.path()), QString());
    }
};

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_wtest.moc"
