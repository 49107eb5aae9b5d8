#include "entries/entry_sheet.h"

#include "common/errors.h"
#include "common/fancier_slots.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/geodesy.h"

namespace vt {

namespace {

QString coordinateBox(double value, bool emptyWhenZero) {
    return emptyWhenZero && value == 0 ? QString() : numberText(value);
}

} // namespace

EntrySheetOpening openEntrySheet(int requestedRecordNo) {
    EntrySheetOpening o;
    const Session& s = session();
    WrittenFiles written;
    try {
        RecordFileOf<FancierRecord> season(s.FancierFilePath);
        int n = requestedRecordNo;
        if (n < 1) {
            o.claim = claimFancierRecord(s.FancierFilePath, s.MasterFancierPath);
            n = o.claim.recordNo();
            FancierRecord blank = blankFancierRecord();
            blank.setClubNumber(QStringLiteral("1"));
            season.write(n, blank);
            written.add(season.path());
            clearStaleStakes(n, s.chosenRaces(), s.YearFolder, &written);
        }
        o.recordNo = n;
        FancierRecord rec = season.read(n);
        const double club = val(rec.clubNumber());
        o.clubNo = static_cast<int>(club);
        if (club < 1 || club > s.ClubCount || club != o.clubNo) {
            o.clubNo = 1;
            rec.setClubNumber(QStringLiteral("1"));
            season.write(n, rec);
        }
        o.record = rec;
        o.boxes.name = trim(rec.fancierName());
        o.boxes.licence = trim(rec.licenceNumber());
        o.boxes.address = trim(rec.addressLine());
        o.boxes.complement = trim(rec.addressComplement());
        o.boxes.town = trim(rec.town());
        o.boxes.postCode = trim(rec.postCode());
        o.boxes.telephone = trim(rec.telephone());
        o.boxes.latitude = coordinateBox(loftCoordinate(rec.latitudeDms(), true), false);
        o.boxes.east = coordinateBox(loftCoordinate(rec.longitudeEastDms(), false), true);
        o.boxes.west = coordinateBox(loftCoordinate(rec.longitudeWestDms(), false), true);
    } catch (const Error& e) {
        o.error = e.message() + written.note();
    }
    return o;
}

void storeClubNumber(int recordNo, int clubNo) {
    RecordFileOf<FancierRecord> season(session().FancierFilePath);
    FancierRecord rec = season.read(recordNo);
    rec.setClubNumber(numberText(clubNo));
    season.write(recordNo, rec);
}

QStringList clubChoiceLines() {
    const Session& s = session();
    QStringList out;
    for (int i = 1; i <= s.ClubCount; ++i)
        out << Right(Space(4) + QString::number(i), 4) + QStringLiteral(" ") +
                   trim(s.ClubNames.value(i));
    return out;
}

int clubNoOfChoiceLine(const QString& line) { return static_cast<int>(val(Left(line, 4))); }

QString coordinateText(const QString& box) { return QString(box).replace(u',', u'.'); }

std::optional<PackedPoint> raceSite(int raceCode) {
    try {
        RecordFileOf<RaceBaseRecord> base(
            resolveFile(session().YearFolder, raceFileName(QStringLiteral("bases"), raceCode)));
        if (base.count() < 1)
            return std::nullopt;
        const RaceBaseRecord r = base.read(1);
        return PackedPoint{r.latitudeDms(), r.longitudeEastDms(), r.longitudeWestDms()};
    } catch (const Error&) {
        return std::nullopt;
    }
}

QString loftDistanceLine(const QString& latitude, const QString& east, const QString& west,
                         const std::optional<PackedPoint>& site) {
    const TypedNumber lat = parseTyped(latitude), e = parseTyped(east), w = parseTyped(west);
    if (lat.isInvalid() || e.isInvalid() || w.isInvalid() || lat.value <= 0 || !site)
        return {};
    const std::optional<std::int32_t> metres = ComputeSiteDistance(
        *site, DmsToDecimalDegrees(lat.value), loftLongitude(e.value, w.value));
    if (!metres)
        return {};
    return QStringLiteral(" Distance = ") + strNumber(static_cast<long long>(*metres));
}

QString nameRefusal(const QString& name) {
    return isAcceptableNewName(name)
               ? QString()
               : QStringLiteral("Le nom doit commencer par une lettre de A à Z.");
}

QString coordinateRefusal(const QString& text, const QString& caption, bool latitude) {
    const TypedNumber t = parseTyped(text);
    if (t.isInvalid())
        return QStringLiteral("Valeur incorrecte : ") + caption;
    // Latitude and longitudes are stored as positive DDMMSS, the side in its own field: a
    // negative value would be kept, then read as no coordinate by every distance.
    if (t.value < 0)
        return QStringLiteral("Valeur incorrecte : %1 ne peut pas être négative.").arg(caption);
    return impossibleCoordinateRefusal(t.value, latitude, caption);
}

} // namespace vt
