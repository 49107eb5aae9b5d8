// "Nouvel Amateur" saved on a disk that fills up in the middle of the new record: the
// club's folder lies on a small RAM file system that the test fills. The save says the
// disk is full, names noms.vba, and leaves every file of the club as it was, byte for
// byte (no fragment of the record at the end of noms.vba).
#include "common/record_file.h"
#include "common/session.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "entry_test_support.h"
#include "platform/clock.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "shell/depart_window.h"
#include "tests/support/pending_events.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QDirIterator>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/mount.h>

using namespace vt;
using namespace vt::testing;

namespace {

QMap<QString, QByteArray> filesUnder(const QString& folder) {
    QMap<QString, QByteArray> out;
    QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        out.insert(path, readBytes(path));
    }
    return out;
}

// Writes a file until the file system has no room left.
void fillUp(const QString& path) {
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        qFatal("cannot write %s", qPrintable(path));
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    const QByteArray byte(1, 'x');
    while (filler.write(byte) == 1) {
    }
}

} // namespace

class FullDiskAddTest : public QObject {
    Q_OBJECT
    QTemporaryDir m_mountPoint;
    bool m_mounted = false;

private slots:
    void init() {
        if (::mount("tmpfs", QFile::encodeName(m_mountPoint.path()).constData(), "tmpfs", 0,
                    "size=512k") != 0)
            QSKIP("a small RAM file system cannot be mounted here (mount needs root); the "
                  "full-disk add is not checked");
        m_mounted = true;
    }
    void cleanup() {
        windows().unloadAll();
        processPending();
        setClockForTests({});
        if (m_mounted)
            ::umount2(QFile::encodeName(m_mountPoint.path()).constData(), MNT_DETACH);
        m_mounted = false;
    }

    // The disk fills before "Nouvel Amateur" (the new record is added to the season's
    // noms.vba as the sheet opens: every file stays as it was), or before "Enregistrer"
    // (the new record is added to the master noms.vba: that file stays as it was).
    void aNewFancierOnAFullDiskLeavesNomsVbaAsItWas_data() {
        QTest::addColumn<bool>("fullBeforeOpening");
        QTest::newRow("full before Nouvel Amateur") << true;
        QTest::newRow("full before Enregistrer") << false;
    }
    void aNewFancierOnAFullDiskLeavesNomsVbaAsItWas() {
        QFETCH(bool, fullBeforeOpening);
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        // The club's folder on the small file system.
        const QByteArray oldTemp = qgetenv("TMPDIR");
        qputenv("TMPDIR", QFile::encodeName(m_mountPoint.path()));
        auto fx = std::make_unique<ClubFixture>(2005);
        qputenv("TMPDIR", oldTemp);
        QVERIFY(fx->startDir().startsWith(m_mountPoint.path()));
        fx->writeSmallClub(); // three fanciers: each noms.vba ends inside a page
        fx->configureSession();
        ScriptedDialogsScope dialogs;
        windows().show<depart>();
        processPending();
        writeRaceFiles(fx->yearFolder(), {101, "ORLEANS", 475413, 15435, 0, SimpleSheet, 3});
        ClubFixture::chooseRaces(session(), {101});
        const QString filler = QDir(m_mountPoint.path()).filePath(QStringLiteral("filler"));

        QMap<QString, QByteArray> before = filesUnder(fx->startDir());
        recapam& recap = windows().show<recapam>();
        dialogs->answer(MsgAnswer::Ok); // the message
        if (fullBeforeOpening) {
            fillUp(filler);
            recap.findChild<QAction*>(QStringLiteral("nouv"))->trigger();
            processPending();
        } else {
            recap.findChild<QAction*>(QStringLiteral("nouv"))->trigger();
            processPending();
            jeuamat& sheet = windows().window<jeuamat>();
            auto* name = sheet.findChild<QLineEdit*>(QStringLiteral("Text1"));
            name->setFocus();
            QTest::keyClicks(name, QStringLiteral("DURAND Luc"));
            before = filesUnder(fx->startDir());
            fillUp(filler);
            QTest::mouseClick(sheet.findChild<QPushButton*>(QStringLiteral("Command1")),
                              Qt::LeftButton);
            processPending();
        }
        QCOMPARE(dialogs->messages().size(), 1);
        const QString told = dialogs->messages().at(0).text;
        QVERIFY2(told.contains(QStringLiteral("noms.vba")), qPrintable(told));
        QVERIFY2(told.contains(QStringLiteral("Aucun espace disponible sur le disque")),
                 qPrintable(told));

        const QMap<QString, QByteArray> after = filesUnder(fx->startDir());
        QCOMPARE(after.keys(), before.keys());
        const QStringList checked = fullBeforeOpening ? before.keys()
                                                      : QStringList{fx->path("noms.vba")};
        for (const QString& file : checked)
            QVERIFY2(after.value(file) == before.value(file),
                     qPrintable(QStringLiteral("%1: %2 bytes, %3 before")
                                    .arg(file)
                                    .arg(after.value(file).size())
                                    .arg(before.value(file).size())));
        windows().unloadAll();
        processPending();
        fx.reset();
        QFile::remove(filler);
    }
};

QTEST_MAIN(FullDiskAddTest)
#include "full_disk_add_wtest.moc"
