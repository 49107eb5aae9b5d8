// "Infos système...": the program named by the settings keys is started; otherwise the
// About box's message.
#include "platform/scripted_dialogs.h"
#include "platform/system_info.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

class SystemInfoTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        dir = std::make_unique<QTemporaryDir>();
        ini = dir->filePath(QStringLiteral("hklm.ini"));
        vt::setLocalMachineSettingsFile(ini);
    }
    void cleanup() { vt::setLocalMachineSettingsFile(QString()); }

    void withNeitherValueTheMessageIsShown() {
        QVERIFY(vt::GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                                QStringLiteral("PATH"))
                    .isEmpty());
        vt::ScriptedDialogsScope d;
        d->answer(vt::MsgAnswer::Ok);
        vt::StartSysInfo(vt::dialogs());
        QCOMPARE(d->messages().size(), 1);
        QCOMPARE(d->messages()[0].text,
                 QStringLiteral("Les informations système ne sont pas disponibles actuellement"));
        QCOMPARE(d->messages()[0].buttons, vt::MsgButtons::Ok);
        QCOMPARE(d->messages()[0].title, QString());
    }

    void valuesAreReadUnderTheirRegistryKeys() {
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("SOFTWARE/Microsoft/Shared Tools Location/MSINFO"),
                       dir->path());
            s.setValue(QStringLiteral("SOFTWARE/Example/Count"), 42);
            s.setValue(QStringLiteral("SOFTWARE/Example/Long"), QString(1024, QLatin1Char('a')));
            s.setValue(QStringLiteral("SOFTWARE/Example/TooLong"), QString(1025, QLatin1Char('a')));
        }
        QCOMPARE(vt::GetKeyValue(QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location"),
                                 QStringLiteral("MSINFO")),
                 dir->path());
        QCOMPARE(vt::GetKeyValue(QStringLiteral("SOFTWARE\\Example"), QStringLiteral("Count")),
                 QStringLiteral("42"));
        QCOMPARE(vt::GetKeyValue(QStringLiteral("SOFTWARE\\Example"), QStringLiteral("Long")).size(),
                 1024);
        QVERIFY(vt::GetKeyValue(QStringLiteral("SOFTWARE\\Example"), QStringLiteral("TooLong"))
                    .isEmpty());
        QVERIFY(vt::GetKeyValue(QStringLiteral("SOFTWARE\\Example"), QStringLiteral("Missing"))
                    .isEmpty());
    }

    void theSecondKeyNeedsTheProgramInItsFolder() {
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("SOFTWARE/Microsoft/Shared Tools Location/MSINFO"),
                       dir->path());
        }
        QVERIFY(!vt::startSystemInformation()); // no MSINFO32.EXE there

        // A program that can be started, found whatever the case of its name.
        const QString program = dir->filePath(QStringLiteral("msinfo32.exe"));
        QVERIFY(QFile::copy(QStringLiteral("/bin/true"), program));
        QFile(program).setPermissions(QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(vt::startSystemInformation());
    }

    void theFirstKeyNamesTheProgramItself() {
        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("SOFTWARE/Microsoft/Shared Tools/MSINFO/PATH"),
                       QStringLiteral("/bin/true"));
        }
        QVERIFY(vt::startSystemInformation());
        vt::ScriptedDialogsScope d; // started: no message
        vt::StartSysInfo(vt::dialogs());
        QVERIFY(d->asked().isEmpty());

        {
            QSettings s(ini, QSettings::IniFormat);
            s.setValue(QStringLiteral("SOFTWARE/Microsoft/Shared Tools/MSINFO/PATH"),
                       dir->filePath(QStringLiteral("absent")));
        }
        QVERIFY(!vt::startSystemInformation()); // named but cannot start
    }

private:
    std::unique_ptr<QTemporaryDir> dir;
    QString ini;
};

QTEST_MAIN(SystemInfoTest)
#include "system_info_wtest.moc"
