// The About box: its texts and the system-information button.
#include "shell/about_window.h"
#include "shell/depart_window.h"

#include "common/session.h"
#include "platform/scripted_dialogs.h"
#include "platform/system_info.h"
#include "platform/window_registry.h"

#include <QLabel>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace vt;

class AboutTest : public QObject {
    Q_OBJECT
private:
    QString label(const char* name) {
        return windows().window<frmAbout>().findChild<QLabel*>(QString::fromLatin1(name))->text();
    }

private slots:
    void cleanup() { windows().unloadAll(); }

    void theTextsNameTheProgramAndTheClub() {
        session() = Session{};
        session().setClub(QStringLiteral("LES AMIS"), QStringLiteral("1234"), 7);
        frmAbout& about = windows().show<frmAbout>();
        QCOMPARE(about.windowTitle(), QStringLiteral("À propos de Vorel"));
        QCOMPARE(label("lblTitle"), QStringLiteral("Traitement des Mises en loge"));
        QCOMPARE(label("lblVersion"), QStringLiteral("Version 2.0.0"));
        QVERIFY(label("lblDescription").startsWith(QStringLiteral(
            "Logiciel  de saisie avec comptabilisation et mémorisation des mises en loge des "
            "pigeons.\n\n\n Concepteur : ")));
        QCOMPARE(label("lblDisclaimer"),
                 QStringLiteral("Avertissement : ce logiciel ne peut être utilisé que sous la "
                                "responsabilité de  La société de LES AMIS"));
        QCOMPARE(about.findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->text(),
                 QStringLiteral("&Infos système..."));
        QVERIFY(!about.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap().isNull());
        about.findChild<QPushButton*>(QStringLiteral("cmdOK"))->click();
        QCoreApplication::processEvents();
        QVERIFY(!windows().isLoaded<frmAbout>());
    }

    void withoutTheSystemInformationProgramTheButtonSaysSo_data() {
        QTest::addColumn<bool>("folderKey");
        QTest::newRow("no key") << false;
        QTest::newRow("folder without the program") << true;
    }
    void withoutTheSystemInformationProgramTheButtonSaysSo() {
        QFETCH(bool, folderKey);
        QTemporaryDir dir;
        const QString ini = dir.filePath(QStringLiteral("local-machine.ini"));
        if (folderKey) {
            QSettings keys(ini, QSettings::IniFormat);
            keys.setValue(QStringLiteral("SOFTWARE/Microsoft/Shared Tools Location/MSINFO"),
                          dir.path());
        }
        setLocalMachineSettingsFile(ini);
        QCOMPARE(GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                             QStringLiteral("MSINFO")),
                 folderKey ? dir.path() : QString());
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Ok);
        windows().show<frmAbout>().findChild<QPushButton*>(QStringLiteral("cmdSysInfo"))->click();
        setLocalMachineSettingsFile(QString());
        QCOMPARE(dialogs->messages().size(), 1);
        QCOMPARE(dialogs->messages()[0].text,
                 QStringLiteral("Les informations système ne sont pas disponibles actuellement"));
        QCOMPARE(dialogs->messages()[0].buttons, MsgButtons::Ok);
    }
};

QTEST_MAIN(AboutTest)
#include "about_wtest.moc"
