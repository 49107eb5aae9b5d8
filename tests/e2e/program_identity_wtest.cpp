// Each program names itself with the one version its build sets: its About box and its
// start-up window show it, and the PDF files it prints carry its name and that version
// as their creator (a Tarvio print does not claim to come from Vorel).
#include "calculator/basedist_window.h"
#include "calculator/depart_window.h"
#include "calculator/frmabout_window.h"
#include "calculator/tarvio_texts.h"
#include "fanciers/basedist_window.h"
#include "shell/about_window.h"
#include "shell/depart_window.h"
#include "shell/program.h"
#include "shell/splash_window.h"

#include "common/session.h"
#include "platform/printing.h"
#include "platform/qt_print_surface.h"
#include "platform/scripted_dialogs.h"
#include "platform/window_registry.h"
#include "tests/support/window_child.h"
#include "tests/support/club_fixture.h"

#include <QAction>
#include <QDirIterator>
#include <QLabel>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

using namespace vt;
using vt::testing::child;

namespace {

QStringList pdfsIn(const QString& folder) {
    QStringList files;
    QDirIterator it(folder, {QStringLiteral("*.pdf")}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files.append(it.next());
    return files;
}

// The "Creator:" field of a PDF, as pdfinfo reads it.
QString pdfCreator(const QString& file) {
    QProcess p;
    p.start(QStringLiteral("pdfinfo"), {file});
    if (!p.waitForFinished(30000))
        return QStringLiteral("(pdfinfo did not answer)");
    for (const QString& line : QString::fromUtf8(p.readAllStandardOutput()).split(u'\n')) {
        if (line.startsWith(QLatin1String("Creator:")))
            return line.mid(8).trimmed();
    }
    return QString();
}

} // namespace

class ProgramIdentityTest : public QObject {
    Q_OBJECT

    QTemporaryDir m_out;
    std::unique_ptr<PrintSurface> m_previousPrinter;

private slots:
    void init() {
        QVERIFY(m_out.isValid());
        setPdfFolder(m_out.path());
        m_previousPrinter =
            setPrinter(std::make_unique<QtPrintSurface>(QtPrintSurface::Target::Pdf));
    }
    void cleanup() {
        windows().unloadAll();
        QCoreApplication::processEvents();
        setPrinter(std::move(m_previousPrinter));
        setPdfFolder(QString());
        for (const QString& f : pdfsIn(m_out.path()))
            QFile::remove(f);
    }

    void vorelShowsItsVersionAndSignsItsPdfs() {
        testing::ClubFixture club;
        club.writeSmallClub();
        club.configureSession();
        setProgramIdentity();
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Vorel"));
        const QString version = QCoreApplication::applicationVersion();
        QCOMPARE(version, QStringLiteral("2.0.0"));
        QCOMPARE(splashVersionText(), QStringLiteral("Version GPS ") + version);

        depart& main = windows().show<depart>();
        child<QAction>(main, "vers")->trigger();
        QCOMPARE(child<QLabel>(windows().window<frmAbout>(), "lblVersion")->text(),
                 QStringLiteral("Version ") + version);

        child<QAction>(main, "dot")->trigger();
        ScriptedDialogsScope dialogs;
        dialogs->answer(MsgAnswer::Ok); // where the list went
        child<QAction>(windows().window<basedist>(), "edit")->trigger();
        QCOMPARE(dialogs->messages().size(), 1);
        const QStringList pdfs = pdfsIn(m_out.path());
        QCOMPARE(pdfs.size(), 1);
        QCOMPARE(pdfCreator(pdfs.first()), QStringLiteral("Vorel 2.0.0"));
    }

    void tarvioShowsItsVersionAndSignsItsPdfs() {
        testing::ClubFixture club;
        club.addGeneralSite({QStringLiteral("ARRAS"), 501730, 24600, 0});
        session() = Session{};
        tarvio::setStartDirectory(club.startDir());
        tarvio::setProgramIdentity();
        QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Tarvio"));
        const QString version = QCoreApplication::applicationVersion();
        QCOMPARE(version, QStringLiteral("1.0.0"));
        QCOMPARE(tarvio::splashVersionText(), QStringLiteral("Version GPS ") + version);

        ScriptedDialogsScope dialogs;
        tarvio::depart& main = windows().show<tarvio::depart>();
        child<QAction>(main, "vers")->trigger();
        QCOMPARE(child<QLabel>(windows().window<tarvio::frmAbout>(), "lblVersion")->text(),
                 QStringLiteral("Version ") + version);

        child<QAction>(main, "GPS")->trigger();
        dialogs->answer(MsgAnswer::Ok); // where the list went
        child<QAction>(windows().window<tarvio::basedist>(), "edit")->trigger();
        const QStringList pdfs = pdfsIn(m_out.path());
        QCOMPARE(pdfs.size(), 1);
        QCOMPARE(pdfCreator(pdfs.first()), QStringLiteral("Tarvio 1.0.0"));
    }
};

QTEST_MAIN(ProgramIdentityTest)
#include "program_identity_wtest.moc"
