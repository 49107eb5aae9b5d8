// Damaged files read by the fanciers window and by Tarvio: the names list, the envelopes,
// the labels, the release-site list and the distance sheets (drawn on the recording
// surface) from a damaged noms.vba, societe.nom and distgen; the address editor and the
// release-site editors reading and saving them; Tarvio's site list
// and main-window model over sites with NaN or infinite coordinates; the sun times and the
// geodesy over any Doubles, NaN and infinities included. Nothing crashes, every text stays
// Windows-1252, and no print creates or changes a file.
#include "fuzz_support.h"

#include "calculator/calculator_model.h"
#include "calculator/sun_times.h"
#include "common/damage.h"
#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/distance_sheets.h"
#include "fanciers/envelopes.h"
#include "fanciers/fancier_editor.h"
#include "fanciers/fancier_list.h"
#include "fanciers/fancier_prints.h"
#include "fanciers/geodesy.h"
#include "fanciers/labels.h"
#include "fanciers/names_list.h"
#include "fanciers/release_sites.h"
#include "fanciers/site_list.h"
#include "platform/recording_surface.h"
#include "shell/club.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using fuzz::get;
using fuzz::put;

// The Doubles of a byte string, eight bytes each, little-endian as in the files.
QList<double> doublesOf(const QByteArray& bytes) {
    QList<double> out;
    for (qsizetype at = 0; at + 8 <= bytes.size() && out.size() < 64; at += 8) {
        double d;
        std::memcpy(&d, bytes.constData() + at, 8);
        out << d;
    }
    return out;
}

bool possibleSite(const vt::ReleaseSiteRecord& site) {
    return vt::isPossibleCoordinate(site.latitudeDms(), true) &&
           vt::isPossibleCoordinate(site.longitudeEastDms(), false) &&
           vt::isPossibleCoordinate(site.longitudeWestDms(), false);
}

// Every named site of the site file at `path` with a coordinate that no site editor
// writes, and a cut last record, is among the findings of `damage`.
bool damagedSitesNamed(const vt::DamageScope& damage, const QString& path) {
    const qsizetype size = get(path).size();
    if (size % vt::ReleaseSiteRecord::Size != 0 &&
        !fuzz::named(damage, path, int(size / vt::ReleaseSiteRecord::Size) + 1))
        return false;
    const QList<vt::ReleaseSiteRecord> all = vt::RecordFileOf<vt::ReleaseSiteRecord>(path).readAll();
    for (int i = 0; i < all.size(); ++i)
        if (!vt::isBlank(all[i].siteName()) && !possibleSite(all[i]) &&
            !fuzz::named(damage, path, i + 1))
            return false;
    return true;
}

bool allPossible(const QList<vt::ReleaseSiteRecord>& sites) {
    return std::all_of(sites.begin(), sites.end(), possibleSite);
}

// Input parts: 0 parameters, 1 noms.vba (season and master), 2 distgen (distloc: its
// bytes from a parameter's offset), 3 societe.nom, 4 Doubles for the geodesy and the sun
// times, 5 answers to the address editor's questions.
void fancierPrints(const fuzz::Parts& in) {
    fuzz::clearFolder();
    vt::Session& s = vt::session();
    s = vt::Session();
    s.StartDir = fuzz::folder().path();
    s.DataFolder = fuzz::pathOf(QStringLiteral("region1"));
    s.YearFolder = fuzz::pathOf(QStringLiteral("region1/2026"));
    s.FancierFilePath = s.YearFolder + QStringLiteral("/noms.vba");
    s.ClubFilePath = s.DataFolder + QStringLiteral("/societe.nom");
    s.GeneralSitesPath = s.StartDir + QStringLiteral("/distgen");
    put(s.FancierFilePath, in.part(1));
    put(s.GeneralSitesPath, in.part(2));
    put(s.ClubFilePath, in.part(3));
    (void)vt::readClubTables(s);

    const vt::FancierListLoad list = vt::loadFancierList(vt::ListMode::All, 1);
    const fuzz::Snapshot before = fuzz::snapshotBefore(fuzz::folder().path());
    QList<vt::FancierRecord> fanciers;
    try {
        fanciers = vt::readListedFanciers(list.lines);
    } catch (const vt::Error&) {
    }
    {
        vt::RecordingSurface surface;
        for (int club : {0, 1, 2})
            (void)vt::printNamesList(list.lines, club, surface);
    }
    {
        vt::RecordingSurface surface;
        (void)vt::printEnvelopes(fanciers,
                                 in.param(1) % 2 ? vt::EnvelopeSize::Size230x160
                                                 : vt::EnvelopeSize::Size220x110,
                                 in.param(2) % 2, s.SenderAddress, surface);
        for (const QString& line : vt::senderBlockLines(s.SenderAddress))
            FUZZ_CHECK(vt::isCp1252(line));
    }
    {
        vt::RecordingSurface surface;
        (void)vt::printLabels(fanciers, surface);
        for (const vt::FancierRecord& f : fanciers)
            for (const QString& t : vt::labelTexts(f))
                FUZZ_CHECK(vt::centredLabelLine(t).size() <= qMax<qsizetype>(28, t.size() + 28));
    }
    try {
        vt::RecordingSurface surface;
        (void)vt::printGeneralSites(vt::SiteList::load(s.GeneralSitesPath), surface);
    } catch (const vt::Error&) {
    }
    QList<int> records;
    for (const QString& line : list.lines)
        records << vt::recordNoOfLine(line);
    records << 0 << -1 << int(in.part(1).size() / vt::FancierRecord::Size) + 1;
    for (vt::SheetLayout layout : {vt::SheetLayout::Booklet, vt::SheetLayout::List}) {
        vt::RecordingSurface surface;
        vt::DamageScope damage; // the fanciers window holds one around the run
        const vt::DistanceSheetRun run = vt::printDistanceSheets(records, layout, surface);
        FUZZ_CHECK(run.printed + run.skipped + run.failed == records.size());
        // A site's coordinate that no site editor writes reaches a sheet only named.
        if (run.printed > 0)
            FUZZ_CHECK(damagedSitesNamed(damage, s.GeneralSitesPath));
        (void)vt::distanceSheetsMessage(run);
    }
    FUZZ_CHECK(fuzz::snapshot(fuzz::folder().path()) == before);
}

// The address editor over the damaged season and master files: a fancier opened and saved
// as he opened writes records that read back as saved, and opening him again changes
// nothing more.
void addressEditor(const fuzz::Parts& in) {
    vt::Session& s = vt::session();
    s.MasterFancierPath = s.DataFolder + QStringLiteral("/noms.vba");
    put(s.MasterFancierPath, in.part(1));
    const int requested = in.param(9) % 6 - 1; // -1 and 0 claim a new record
    vt::EditedFancier edited;
    try {
        edited = vt::openFancier(requested, 1 + in.param(10) % 2);
    } catch (const vt::Error&) {
        return;
    }
    FUZZ_CHECK(edited.recordNo >= 1);
    fuzz::AnswerDialogs dialogs(in.part(5));
    const vt::FancierSave saved = vt::saveFancier(edited, edited.form, dialogs);
    if (saved.outcome != vt::FancierSave::Saved)
        return;
    const QByteArray season = get(s.FancierFilePath), master = get(s.MasterFancierPath);
    const vt::EditedFancier again = vt::openFancier(edited.recordNo, 1);
    FUZZ_CHECK(again.form == edited.form ||
               !(again.form[vt::FancierBox::Name] == edited.form[vt::FancierBox::Name]));
    FUZZ_CHECK(get(s.FancierFilePath) == season && get(s.MasterFancierPath) == master);
}

// The release-site editors over a damaged distgen and distloc: a save writes whole records
// in list order, and a second load and save writes the same bytes.
void siteEditors(const fuzz::Parts& in) {
    const vt::Session& s = vt::session();
    const QString local = s.DataFolder + QStringLiteral("/distloc");
    put(local, in.part(2).mid(in.param(11)));
    try {
        vt::DamageScope damage; // the editor holds one while it opens
        vt::GeneralSiteEditor editor = vt::GeneralSiteEditor::load(s.GeneralSitesPath);
        // A damaged site is named and listed, and so saved, with its coordinates as 0.
        FUZZ_CHECK(damagedSitesNamed(damage, s.GeneralSitesPath));
        FUZZ_CHECK(allPossible(editor.sites().records()));
        if (editor.sites().size() > 0) {
            (void)editor.takeOut(in.param(12) % editor.sites().size());
            editor.putBack();
        }
        editor.save(s.GeneralSitesPath, local);
        const QByteArray general = get(s.GeneralSitesPath), locals = get(local);
        FUZZ_CHECK(general.size() % vt::ReleaseSiteRecord::Size == 0);
        FUZZ_CHECK(locals.size() % vt::ReleaseSiteRecord::Size == 0 ||
                   locals.size() == in.part(2).mid(in.param(11)).size());
        vt::DamageScope reopened;
        vt::GeneralSiteEditor::load(s.GeneralSitesPath).save(s.GeneralSitesPath, local);
        FUZZ_CHECK(reopened.isEmpty());
        FUZZ_CHECK(get(s.GeneralSitesPath) == general && get(local) == locals);
        const vt::LocalSiteChoice choice = vt::LocalSiteChoice::load(s.GeneralSitesPath, local);
        for (int i = 0; i < choice.size(); ++i)
            (void)choice.itemText(i);
    } catch (const vt::Error&) {
    }
}

void tarvio(const fuzz::Parts& in) {
    const QString distgen = vt::session().GeneralSitesPath;
    QList<vt::ReleaseSiteRecord> sites;
    try {
        vt::DamageScope damage; // the main window holds one while it reads the list
        sites = vt::tarvio::readGeneralSitesInFileOrder(distgen);
        FUZZ_CHECK(damagedSitesNamed(damage, distgen));
        FUZZ_CHECK(allPossible(sites));
    } catch (const vt::Error&) {
        return;
    }
    vt::tarvio::CalculatorModel model(QDate(2026, 6, 21), sites);
    (void)model.siteItems();
    const QList<double> d = doublesOf(in.part(4));
    model.setDateOffsets(in.param(3) % 61 - 30, in.param(4) % 25 - 12, in.param(5) % 41 - 20);
    for (int i = 0; i < sites.size() && i < 64; ++i) {
        model.setShownSite(i);
        FUZZ_CHECK(vt::isCp1252(model.distanceLabel()));
        (void)vt::tarvio::distanceText(sites[i], d.value(0), d.value(1));
    }
    const long long steps[] = {1, -1, 59, -61, 1000000, -1000000};
    for (int part = 1; part <= 4; ++part) {
        model.stepLatitude(part, steps[(in.param(6) + part) % 6]);
        model.stepEast(part, steps[(in.param(7) + part) % 6]);
        model.stepWest(part, steps[(in.param(8) + part) % 6]);
        FUZZ_CHECK(model.loft().latitude.hundredths() >= 0 &&
                   model.loft().latitude.hundredths() <= model.loft().latitude.maximum());
    }
    (void)model.loftTimes();
}

void numbers(const fuzz::Parts& in) {
    const QList<double> d = doublesOf(in.part(4));
    for (int i = 0; i + 3 < d.size(); i += 4) {
        (void)vt::DmsToDecimalDegrees(d[i]);
        (void)vt::siteLongitude(d[i], d[i + 1]);
        (void)vt::loftLongitude(d[i], d[i + 1]);
        const auto m = vt::ComputeGeodesicDistance(d[i], d[i + 1], d[i + 2], d[i + 3]);
        FUZZ_CHECK(!m || *m >= 0);
        (void)vt::ComputeSiteDistance(vt::PackedPoint{d[i], d[i + 1], d[i + 2]},
                                      vt::PackedPoint{d[i + 3], d[i + 2], d[i + 1]});
        (void)vt::printedCoordinate(d[i]);
        const vt::tarvio::Dms lat{d[i], d[i + 1], d[i + 2]};
        const vt::tarvio::Dms lon{d[i + 3], d[i + 2], d[i]};
        const vt::tarvio::SunTimes t = vt::tarvio::ComputeSunTimes(QDate(2026, 6, 21), lat, lon);
        if (t.closing)
            FUZZ_CHECK(vt::isCp1252(t.closing->text));
        if (t.opening)
            FUZZ_CHECK(t.opening->seconds > -86400 && t.opening->seconds < 3 * 86400);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    const fuzz::Parts in(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    fancierPrints(in);
    addressEditor(in);
    siteEditors(in);
    tarvio(in);
    numbers(in);
    return 0;
}
