// Values damaged on disk, read by the windows that read them: each kind of value no window
// of the program can have written, in each file it is found in, is named in one message
// (the file and the record), and nothing printed or stored afterwards carries it.
#include "calculator/basedist_window.h"
#include "calculator/depart_window.h"
#include "common/record_file.h"
#include "common/session.h"
#include "entries/jeuamat_window.h"
#include "entries/recapam_window.h"
#include "fanciers/adresse_window.h"
#include "fanciers/basedist_window.h"
#include "fanciers/distance_window.h"
#include "fanciers/gnoms_window.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/printing.h"
#include "platform/window_registry.h"
#include "shell/calend_window.h"
#include "shell/choiconc_window.h"
#include "shell/depart_window.h"
#include "tests/support/pending_events.h"
#include "tests/support/club_fixture.h"
#include "tests/support/window_child.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QtTest>

#include <cmath>
#include <functional>
#include <limits>

using namespace vt;
using namespace vt::testing;

namespace {

// Every box answered by its default button, the inputs from a list; each message is kept
// with what a watched file held when it was shown.
class ReadingDialogs : public Dialogs {
public:
    QStringList inputs;
    QString watched;
    struct Shown {
        MessageRequest request;
        qint64 watchedSize = -1;
    };
    QList<Shown> shown;

    MsgAnswer message(const MessageRequest& r) override {
        shown.append({r, watched.isEmpty() ? -1 : QFileInfo(watched).size()});
        return r.defaultButton;
    }
    QString input(const InputRequest&) override {
        return inputs.isEmpty() ? QString() : inputs.takeFirst();
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    bool printerSetup() override { return false; }
    QList<Shown> damageMessages() const {
        QList<Shown> out;
        for (const Shown& s : shown)
            if (s.request.title == QStringLiteral("Fichier endommagé"))
                out.append(s);
        return out;
    }
};

// The race of the small club: ORLEANS at GENERAL (code 101), Simple 0,50, the bets total,
// FRAIS 1,00, free entries and the sub-total; MARTIN Paul (record 2) entered 10 pigeons
// and 10 on Simple and owes 15,00.
const QList<StakeLineSpec> Sheet = {stakeLineSpec(QStringLiteral("Simple   simp"), 0.5f),
                                    stakeLineSpec(QStringLiteral("TOTAL du jeu ")),
                                    stakeLineSpec(QStringLiteral("FRAIS    frai"), 1),
                                    stakeLineSpec(QStringLiteral("GRATUITS grat")),
                                    stakeLineSpec(QStringLiteral("S/total  s/to"))};

void patch(const QString& path, qint64 at, const QByteArray& bytes) {
    QByteArray all = readBytes(path);
    all.replace(at, bytes.size(), bytes);
    writeBytes(path, all);
}
template <class T> QByteArray le(T v) {
    return QByteArray(reinterpret_cast<const char*>(&v), sizeof v);
}

struct Case {
    const char* name;
    std::function<void(ClubFixture&)> damage;
    const char* file;    // the file the message names
    int record;          // the record it names
    const char* reading; // the user's path through the windows
    QStringList never;   // texts nothing printed, shown or stored may carry
};

} // namespace

class DamagedValuesTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ClubFixture> fx;
    ReadingDialogs* asked = nullptr;
    std::unique_ptr<Dialogs> previous;

    QString race(const char* base) const { return fx->yearPath(QString::fromLatin1(base) + ".101"); }

    // The lines of a window's lists, its labels and its boxes, as one text.
    static QString shownTexts(QWidget& w) {
        QString out;
        for (const QListWidget* list : w.findChildren<QListWidget*>())
            for (int i = 0; i < list->count(); ++i)
                out += list->item(i)->text() + u'\n';
        for (const QLabel* label : w.findChildren<QLabel*>())
            out += label->text() + u'\n';
        for (const QLineEdit* box : w.findChildren<QLineEdit*>())
            out += box->text() + u'\n';
        return out;
    }

    // What the user's path shows, prints and stores, as one text.
    // The damage is done before the window opens, or, for the recap window's menus, while
    // it is open (its list was read sound).
    QString read(const QString& reading, const std::function<void(ClubFixture&)>& damage) {
        RecordingPrinterScope printed;
        QString out;
        const auto openRecapWindow = [&] {
            windows().show<recapam>();
            asked->shown.clear();
            damage(*fx);
        };
        if (reading == "entry sheet" || reading == "recap list" || reading == "socdist" ||
            reading.startsWith("race") || reading == "Tarvio main" || reading == "site editor" ||
            reading == "local site choice" ||
            reading == "fanciers list" || reading == "address editor")
            damage(*fx);
        if (reading == "entry sheet") {
            session().CurrentFancierNo = 2;
            windows().show<jeuamat>();
            QTableWidget* grid = windows().window<jeuamat>().grid(1);
            for (int r = 0; grid && r < grid->rowCount(); ++r)
                for (int c = 0; c < grid->columnCount(); ++c)
                    if (grid->item(r, c))
                        out += grid->item(r, c)->text() + u'|';
            QTest::mouseClick(child<QPushButton>(windows().window<jeuamat>(), "Command1"),
                              Qt::LeftButton);
            processPending();
            const FancierRecord stored = RecordFileOf<FancierRecord>(fx->yearPath("noms.vba")).read(2);
            out += QStringLiteral("|owed %1|").arg(stored.raceAmount(101));
            const StakeAmountBlock block = RecordFileOf<StakeAmountBlock>(race("mise")).read(2);
            for (int k = 0; k <= 5; ++k)
                out += QString::number(block.stakeCount(k)) + u'|';
        } else if (reading == "recap list") {
            windows().show<recapam>();
            for (const QString& l : windows().window<recapam>().lines())
                out += l + u'\n';
        } else if (reading == "Visuel") {
            openRecapWindow();
            child<QAction>(windows().window<recapam>(), "ecran")->trigger();
            QTableWidget* grid = windows().window<recapam>().grid();
            for (int r = 0; r < grid->rowCount(); ++r)
                for (int c = 0; c < grid->columnCount(); ++c)
                    if (grid->item(r, c))
                        out += grid->item(r, c)->text() + u'|';
        } else if (reading == "listdet" || reading == "listmts" || reading == "lister") {
            openRecapWindow();
            child<QAction>(windows().window<recapam>(), reading.toLatin1().constData())->trigger();
            processPending();
            out = printed->allText();
        } else if (reading == "memo") {
            openRecapWindow();
            windows().window<recapam>().memoAction()->trigger();
            const RaceRecapRecord recap = RecordFileOf<RaceRecapRecord>(race("recap")).read(1);
            out = QStringLiteral("fanciers %1 pigeons %2").arg(recap.fancierCount()).arg(recap.total(0));
        } else if (reading == "socdist") {
            windows().show<gnoms>();
            child<QAction>(windows().window<gnoms>(), "socdist")->trigger();
            processPending();
            out = printed->allText();
        } else if (reading.startsWith("race")) {
            windows().show<depart>();
            child<QAction>(windows().window<depart>(), "chconc")->trigger();
            processPending();
            QRadioButton* calendar = child<QRadioButton>(windows().window<calend>(), "Option1_1");
            QTest::mouseClick(calendar, Qt::LeftButton, {}, QPoint(8, calendar->height() / 2));
            processPending();
            QListWidget* offered = child<QListWidget>(windows().window<choiconc>(), "List2");
            for (int i = 0; i < offered->count(); ++i)
                out += offered->item(i)->text() + u'\n';
            if (reading == "race choice") {
                // ORLEANS chosen at GENERAL: its set-up pads the season's mise.101.
                asked->inputs = {QStringLiteral("1,00")};
                asked->watched = race("mise");
                const QPoint at = offered->visualItemRect(offered->item(0)).center();
                QTest::mouseClick(offered->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(offered->viewport(), Qt::LeftButton, {}, at);
                processPending();
            }
        } else if (reading == "Tarvio main") {
            // The third site of the file (ORLEANS) at the top: its distance shows.
            tarvio::depart& main = windows().show<tarvio::depart>();
            child<QListWidget>(main, "List1")->setCurrentRow(2);
            processPending();
            out = shownTexts(main);
        } else if (reading == "Tarvio site editor") {
            // The main window reads the sound file; its editor reads the damaged one.
            tarvio::depart& main = windows().show<tarvio::depart>();
            asked->shown.clear();
            damage(*fx);
            child<QAction>(main, "GPS")->trigger();
            processPending();
            tarvio::basedist& editor = windows().window<tarvio::basedist>();
            child<QAction>(editor, "edit")->trigger();
            processPending();
            out = shownTexts(editor) + printed->allText();
        } else if (reading == "site editor") {
            vt::basedist& editor = windows().show<vt::basedist>();
            child<QAction>(editor, "edit")->trigger();
            processPending();
            out = shownTexts(editor) + printed->allText();
        } else if (reading == "local site choice") {
            // Every site ticked and stored in the local file: what the file then holds.
            distance& choice = windows().show<distance>();
            child<QAction>(choice, "tsel")->trigger();
            out = shownTexts(choice);
            child<QAction>(choice, "quitte")->trigger(); // stores, closes and deletes it
            processPending();
            for (const ReleaseSiteRecord& r :
                 RecordFileOf<ReleaseSiteRecord>(session().LocalSitesPath).readAll())
                out += QStringLiteral("%1 %2 %3\n")
                           .arg(r.latitudeDms(), 0, 'f', 0)
                           .arg(r.longitudeEastDms(), 0, 'f', 0)
                           .arg(r.longitudeWestDms(), 0, 'f', 0);
        } else if (reading == "fanciers list") {
            windows().show<gnoms>();
            out = windows().window<gnoms>().lines().join(u'\n');
        } else if (reading == "address editor") {
            // A new fancier: its record is claimed at the cut end of noms.vba.
            session().CurrentFancierNo = 0;
            session().UrgentMail = 1;
            asked->watched = fx->yearPath("noms.vba");
            out = shownTexts(windows().show<adresse>());
        } else {
            qFatal("no reading %s", qPrintable(reading));
        }
        windows().unloadAll();
        processPending();
        return out;
    }

private slots:
    void init() {
        fx = std::make_unique<ClubFixture>();
        fx->writeSmallClub();
        fx->writeStakeSheet(0, QStringLiteral("COMPTES"), {stakeLineSpec(QStringLiteral("TOTAL du jeu "))});
        fx->writeStakeSheet(1, QStringLiteral("JEU A"), Sheet);
        fx->writeRaceFiles({101, QStringLiteral("ORLEANS"), 0, QStringLiteral("12 mai 2005"), Sheet,
                            {{0}, {10, 10}, {0}}});
        FancierRecord martin = RecordFileOf<FancierRecord>(fx->yearPath("noms.vba")).read(2);
        martin.setRaceAmount(101, 15000);
        RecordFileOf<FancierRecord>(fx->yearPath("noms.vba")).write(2, martin);
        Session& s = fx->configureSession();
        ClubFixture::chooseRaces(s, {101});
        setClockForTests([] { return QDateTime(QDate(2005, 5, 10), QTime(9, 0)); });
        auto d = std::make_unique<ReadingDialogs>();
        asked = d.get();
        previous = setDialogs(std::move(d));
    }
    void cleanup() {
        windows().unloadAll();
        processPending();
        setDialogs(std::move(previous));
        asked = nullptr;
        setClockForTests({});
        fx.reset();
    }

    void damagedValuesAreNamedAndNeverUsed_data() {
        QTest::addColumn<int>("index");
        for (int i = 0; i < int(cases().size()); ++i)
            QTest::newRow(cases()[i].name) << i;
    }
    void damagedValuesAreNamedAndNeverUsed() {
        QFETCH(int, index);
        const Case& c = cases()[index];
        const QString seen = read(QString::fromLatin1(c.reading), c.damage);

        // One message for the file, naming the record.
        const QList<ReadingDialogs::Shown> damage = asked->damageMessages();
        QStringList texts;
        for (const auto& m : damage)
            texts << m.request.text;
        QVERIFY2(damage.size() == 1, qPrintable(texts.join(u'\n')));
        const QString text = damage[0].request.text;
        QVERIFY2(text.contains(QStringLiteral("/%1 est endommagé").arg(c.file)), qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("enregistrement %1").arg(c.record)), qPrintable(text));
        for (const QString& never : c.never)
            QVERIFY2(!seen.contains(never), qPrintable(never + QStringLiteral(" in ") + seen));
        // A file the program writes over (the padding of a cut mise file) is named first.
        if (QString::fromLatin1(c.reading) == "race choice") {
            QCOMPARE(damage[0].watchedSize, qint64(StakeAmountBlock::Size + 200));
            QCOMPARE(readBytes(race("mise")).size(), 3 * StakeAmountBlock::Size);
        }
        // The cut end of noms.vba is named before a new fancier's record is written over it.
        if (QString::fromLatin1(c.reading) == "address editor")
            QCOMPARE(damage[0].watchedSize, qint64(3 * FancierRecord::Size + 3192));
    }

private:
    static const QList<Case>& cases() {
        static const QList<Case> all = [] {
            const auto price = [](float v) {
                return [v](ClubFixture& f) {
                    patch(f.yearPath("basejeu.101"), 15, le(v));
                };
            };
            const auto amount = [](int32_t v) {
                return [v](ClubFixture& f) {
                    patch(f.yearPath("noms.vba"), 3197 + FancierRecord::RaceAmountsOffset + 4 * 101, le(v));
                };
            };
            const auto forty = [](ClubFixture& f) {
                patch(f.yearPath("mise.101"), 404, le(40000.0f) + le(40000.0f));
            };
            const auto recap = [](qint64 at, int16_t v) {
                return [at, v](ClubFixture& f) {
                    RecordFileOf<RaceRecapRecord>(f.yearPath("recap.101")).rewrite({RaceRecapRecord()});
                    patch(f.yearPath("recap.101"), at, le(v));
                };
            };
            const auto date = [](int record, const char* text) {
                return [record, text](ClubFixture& f) {
                    patch(f.yearPath("gr1.cal"), (record - 1) * 51 + 15, QByteArray(text));
                };
            };
            const auto site = [](int field, double v) {
                return [field, v](ClubFixture& f) {
                    patch(f.startDir() + "/distgen", 2 * 49 + 25 + 8 * field, le(v));
                };
            };
            const auto cutNames = [](ClubFixture& f) {
                writeBytes(f.yearPath("noms.vba"), readBytes(f.yearPath("noms.vba")) + QByteArray(3192, 'A'));
            };
            const QStringList noHugeCounts = {QStringLiteral("40000"), QStringLiteral("60069")};
            return QList<Case>{
                {"price NaN, entry sheet", price(std::numeric_limits<float>::quiet_NaN()), "basejeu.101",
                 1, "entry sheet", {QStringLiteral("nan"), QStringLiteral("NaN")}},
                {"price 1E30, entry sheet", price(1e30f), "basejeu.101", 1, "entry sheet",
                 {QStringLiteral("0000000000")}},
                {"price -2, entry sheet", price(-2), "basejeu.101", 1, "entry sheet",
                 {QStringLiteral("-2")}},
                {"price 1E30, detail", price(1e30f), "basejeu.101", 1, "listdet",
                 {QStringLiteral("0000000000")}},
                {"40000 pigeons, entry sheet", forty, "mise.101", 2, "entry sheet", noHugeCounts},
                {"40000 pigeons, detail", forty, "mise.101", 2, "listdet", noHugeCounts},
                {"40000 pigeons, Visuel", forty, "mise.101", 2, "Visuel", noHugeCounts},
                {"owed 2147483,647, recap list", amount(2147483647), "noms.vba", 2, "recap list",
                 {QStringLiteral("2147483")}},
                {"owed 2147483,647, totals", amount(2147483647), "noms.vba", 2, "listmts",
                 {QStringLiteral("2147483")}},
                {"owed -500,000, recap list", amount(-500000), "noms.vba", 2, "recap list",
                 {QStringLiteral("-500")}},
                {"-5 fanciers, recap sheet", recap(0, -5), "recap.101", 1, "lister",
                 {QStringLiteral("-5")}},
                {"-32768 pigeons, recap sheet", recap(2, -32768), "recap.101", 1, "lister",
                 {QStringLiteral("-32768")}},
                {"latitude 1E300, distance sheets",
                 [](ClubFixture& f) { patch(f.startDir() + "/distgen", 2 * 49 + 25, le(1e300)); }, "distgen",
                 3, "socdist", {QStringLiteral("5405605"), QStringLiteral("5 405 605")}},
                {"latitude 1E300, Tarvio main", site(0, 1e300), "distgen", 3, "Tarvio main",
                 {QStringLiteral("0000000000"), QStringLiteral("5404362")}},
                {"east NaN, Tarvio main", site(1, std::numeric_limits<double>::quiet_NaN()), "distgen",
                 3, "Tarvio main",
                 {QStringLiteral("nan"), QStringLiteral("NaN"), QStringLiteral("indisponible")}},
                {"distgen cut, Tarvio main",
                 [](ClubFixture& f) {
                     writeBytes(f.startDir() + "/distgen", readBytes(f.startDir() + "/distgen") + QByteArray(30, 'A'));
                 },
                 "distgen", 5, "Tarvio main", {QStringLiteral("AAAA")}},
                {"latitude -475413, Tarvio site editor", site(0, -475413), "distgen", 3,
                 "Tarvio site editor", {QStringLiteral("-475413")}},
                {"latitude 95 degrees, site editor", site(0, 950000), "distgen", 3, "site editor",
                 {QStringLiteral("950000")}},
                {"east 1E300, site editor", site(1, 1e300), "distgen", 3, "site editor",
                 {QStringLiteral("0000000000")}},
                {"latitude 95 degrees, local site choice", site(0, 950000), "distgen", 3,
                 "local site choice", {QStringLiteral("950000")}},
                {"noms.vba cut, fanciers list", cutNames, "noms.vba", 4, "fanciers list",
                 {QStringLiteral("AAAA")}},
                {"noms.vba cut, address editor", cutNames, "noms.vba", 4, "address editor",
                 {QStringLiteral("AAAA")}},
                {"date 99/99/99, race chooser", date(1, "99/99/99"), "gr1.cal", 1, "race chooser", {}},
                {"date 31/02/26, race chooser", date(2, "31/02/26"), "gr1.cal", 2, "race chooser", {}},
                {"noms.vba cut, recap storage",
                 [](ClubFixture& f) {
                     writeBytes(f.yearPath("noms.vba"),
                                readBytes(f.yearPath("noms.vba")) + QByteArray(3192, 'A'));
                 },
                 "noms.vba", 4, "memo", {QStringLiteral("fanciers 0"), QStringLiteral("fanciers 2")}},
                {"mise.101 cut, race choice",
                 [](ClubFixture& f) {
                     writeBytes(f.yearPath("mise.101"), readBytes(f.yearPath("mise.101")).left(404 + 200));
                 },
                 "mise.101", 2, "race choice", {}},
            };
        }();
        return all;
    }
};

QTEST_MAIN(DamagedValuesTest)
#include "damaged_values_wtest.moc"
