#include "fancier_editor.h"

#include "fancier_list.h"
#include "geodesy.h"

#include "common/errors.h"
#include "common/fancier_slots.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/text.h"
#include "fanciers/geodesy.h"

namespace vt {

QString fancierBoxCaption(FancierBox box) {
    switch (box) {
    case FancierBox::Name: return QStringLiteral("NOM et Prénom");
    case FancierBox::Address: return QStringLiteral("ADRESSE");
    case FancierBox::Complement: return QStringLiteral("COMPLEMENT d'ADRESSE");
    case FancierBox::Town: return QStringLiteral("VILLE");
    case FancierBox::PostCode: return QStringLiteral("CODE POSTAL");
    case FancierBox::Telephone: return QStringLiteral("TELEPHONE");
    case FancierBox::Latitude: return QStringLiteral("LATITUDE");
    case FancierBox::East: return QStringLiteral("LONGITUDE EST");
    case FancierBox::West: return QStringLiteral("LONGITUDE OUEST");
    case FancierBox::Licence: return QStringLiteral("NUMERO de LICENCE");
    }
    return QString();
}

bool FancierForm::operator==(const FancierForm& o) const {
    for (int i = 0; i < FancierBoxCount; ++i)
        if (text[i] != o.text[i])
            return false;
    return true;
}

QString coordinateText(double value, bool emptyWhenZero) {
    if (value == 0 && emptyWhenZero)
        return QString();
    return numberText(value);
}

namespace {

int validClub(int k) {
    const Session& s = session();
    return (k < 1 || k > s.ClubCount) ? 1 : k;
}

QString clubName(int k) {
    const QStringList& names = session().ClubNames;
    return k >= 0 && k < names.size() ? trim(names[k]) : QString();
}

QString clubCode(int k) {
    const QStringList& codes = session().ClubCodes;
    return k >= 0 && k < codes.size() ? codes[k] : QString();
}

FancierClaim claimNewFancier(int defaultClub) {
    const Session& s = session();
    const int club = validClub(defaultClub);
    FancierClaim claim = claimFancierRecord(s.FancierFilePath, s.MasterFancierPath);
    const int n = claim.recordNo();
    WrittenFiles written;
    try {
        clearStaleStakes(n, s.chosenRaces(), s.YearFolder, &written);
        FancierRecord r = blankFancierRecord();
        r.setClubNumber(QString::number(club));
        r.setClubCode(clubCode(club));
        RecordFileOf<FancierRecord>(s.FancierFilePath).write(n, r);
        written.add(s.FancierFilePath);
        RecordFileOf<FancierRecord>(s.MasterFancierPath).write(n, r);
    } catch (const Error& e) {
        throw FileError(e.message() + written.note());
    }
    return claim;
}

FancierSave refuse(FancierBox box) {
    FancierSave out;
    out.outcome = FancierSave::Refused;
    out.focus = box;
    return out;
}

FancierSave failed(Dialogs& dialogs, const Error& e, const WrittenFiles& written) {
    dialogs.message({e.message() + written.note(), QStringLiteral("ADRESSE"), MsgButtons::Ok,
                     MsgIcon::Critical, MsgAnswer::Ok});
    FancierSave out;
    out.outcome = FancierSave::Failed;
    return out;
}

void tell(Dialogs& dialogs, const QString& text) {
    dialogs.message({text, QStringLiteral("ADRESSE"), MsgButtons::Ok, MsgIcon::Exclamation,
                     MsgAnswer::Ok});
}

bool ask(Dialogs& dialogs, const QString& text, MsgAnswer defaultButton) {
    return dialogs.message({text, QStringLiteral("ADRESSE"), MsgButtons::YesNo,
                            MsgIcon::Question, defaultButton}) == MsgAnswer::Yes;
}

// A coordinate box: empty reads 0; a number with a decimal comma or point; nothing else.
// A box still showing what it was given for the stored value is not checked again: the
// save keeps the stored value (savedLoftPoint), whatever the box could show of it.
bool readCoordinate(Dialogs& dialogs, const FancierForm& form, FancierBox box, double stored,
                    double& out) {
    const TypedNumber typed = parseTyped(form[box]);
    if (typed.isNumber() || typed.isEmpty())
        if (showsStoredCoordinate(typed.value, stored, box == FancierBox::Latitude)) {
            out = typed.value;
            return true;
        }
    if (const QString refusal = fancierCoordinateRefusal(box, form[box]); !refusal.isEmpty()) {
        tell(dialogs, refusal);
        return false;
    }
    out = typed.value;
    return true;
}

} // namespace

QString fancierCoordinateRefusal(FancierBox box, const QString& text) {
    const TypedNumber t = parseTyped(text);
    if (t.isInvalid())
        return QStringLiteral("La zone %1 doit contenir un nombre : « %2 » n'en est pas un.")
            .arg(fancierBoxCaption(box), trim(text));
    if (t.value < 0)
        return QStringLiteral("La zone %1 ne peut pas contenir un nombre négatif.")
            .arg(fancierBoxCaption(box));
    return impossibleCoordinateRefusal(t.value, box == FancierBox::Latitude,
                                       fancierBoxCaption(box));
}

EditedFancier openFancier(int recordNo, int defaultClub) {
    const Session& s = session();
    EditedFancier e;
    if (recordNo < 1)
        e.claim = claimNewFancier(defaultClub);
    e.recordNo = recordNo < 1 ? e.claim.recordNo() : recordNo;
    const FancierRecord r = RecordFileOf<FancierRecord>(s.FancierFilePath).read(e.recordNo);

    int k = static_cast<int>(val(r.clubNumber()));
    if (s.ClubCount == 1)
        k = 1;
    e.clubNo = validClub(k);
    e.clubName = clubName(e.clubNo);
    e.nameAtLoad = trim(r.fancierName());

    FancierForm& f = e.form;
    f[FancierBox::Name] = e.nameAtLoad;
    f[FancierBox::Licence] = trim(r.licenceNumber());
    f[FancierBox::Telephone] = trim(r.telephone());
    f[FancierBox::Address] = trim(r.addressLine());
    f[FancierBox::Town] = trim(r.town());
    f[FancierBox::Complement] = trim(r.addressComplement());
    f[FancierBox::PostCode] = trim(r.postCode());
    if (f[FancierBox::Town].isEmpty())
        f[FancierBox::Town] = e.clubName;
    f[FancierBox::Latitude] = coordinateText(loftCoordinate(r.latitudeDms(), true), false);
    f[FancierBox::East] = coordinateText(loftCoordinate(r.longitudeEastDms(), false), true);
    f[FancierBox::West] = coordinateText(loftCoordinate(r.longitudeWestDms(), false), true);
    return e;
}

FancierSave saveFancier(const EditedFancier& edited, const FancierForm& form, Dialogs& dialogs) {
    const Session& s = session();
    for (int i = 0; i < FancierBoxCount; ++i) {
        const QString bad = firstNonCp1252(form.text[i]);
        if (!bad.isEmpty()) {
            const FancierBox box = static_cast<FancierBox>(i);
            tell(dialogs, QStringLiteral("La zone %1 contient le caractère « %2 », qui ne peut "
                                         "pas être enregistré.")
                              .arg(fancierBoxCaption(box), bad));
            return refuse(box);
        }
    }
    const QString name = trim(form[FancierBox::Name]);
    if (!isAcceptableNewName(name)) {
        tell(dialogs, QStringLiteral("Le nom « %1 » ne peut pas être enregistré : il doit "
                                     "commencer par une lettre de A à Z.")
                          .arg(name));
        return refuse(FancierBox::Name);
    }
    const int n = edited.recordNo;
    RecordFileOf<FancierRecord> season(s.FancierFilePath), master(s.MasterFancierPath);

    // Another window may have saved a fancier into this record since the editor opened.
    QString overwritten;
    try {
        overwritten = overwrittenFancier(master.read(n).fancierName(), edited.nameAtLoad, name);
    } catch (const Error& e) {
        return failed(dialogs, e, WrittenFiles());
    }
    if (!overwritten.isEmpty() && !ask(dialogs, overwriteQuestion(n, overwritten), MsgAnswer::No))
        return refuse(FancierBox::Name);

    if (name.isEmpty()) {
        // A fancier who had a name is erased only on Yes; a new fancier left unnamed
        // loses nothing.
        if (!edited.nameAtLoad.isEmpty() &&
            !ask(dialogs, QStringLiteral("Supprimer l'amateur %1 ?").arg(edited.nameAtLoad),
                 MsgAnswer::No))
            return refuse(FancierBox::Name);
        WrittenFiles written;
        try {
            // The stake blocks go first, so no fancier is erased while his stakes remain.
            clearStaleStakes(n, s.chosenRaces(), s.YearFolder, &written);
            const FancierRecord blank = blankFancierRecord();
            master.write(n, blank);
            written.add(master.path());
            season.write(n, blank);
        } catch (const Error& e) {
            return failed(dialogs, e, written);
        }
        FancierSave out;
        out.outcome = FancierSave::Deleted;
        return out;
    }

    FancierRecord stored;
    try {
        stored = season.read(n);
    } catch (const Error& e) {
        return failed(dialogs, e, WrittenFiles());
    }
    double latitude = 0, east = 0, west = 0;
    if (!readCoordinate(dialogs, form, FancierBox::Latitude, stored.latitudeDms(), latitude))
        return refuse(FancierBox::Latitude);
    if (!readCoordinate(dialogs, form, FancierBox::East, stored.longitudeEastDms(), east))
        return refuse(FancierBox::East);
    if (!readCoordinate(dialogs, form, FancierBox::West, stored.longitudeWestDms(), west))
        return refuse(FancierBox::West);
    if (east != 0 && west != 0) {
        tell(dialogs, QStringLiteral("Un pigeonnier n'a qu'une longitude : la longitude EST "
                                     "est gardée, la longitude OUEST est mise à 0."));
        west = 0;
    }
    if (latitude > 0 && latitude < 3000 &&
        !ask(dialogs,
             QStringLiteral("La latitude %1 est inférieure à 3000 : la liste des amateurs "
                            "effacera les coordonnées de cet amateur à son prochain "
                            "chargement. Enregistrer quand même ?")
                 .arg(numberText(latitude)),
             MsgAnswer::No))
        return refuse(FancierBox::Latitude);

    FancierSave out;
    WrittenFiles written;
    try {
        // The season record as it stands now keeps what the entry sheet wrote meanwhile.
        FancierRecord r = season.read(n);
        r.setFancierName(name);
        r.setLicenceNumber(trim(form[FancierBox::Licence]));
        r.setAddressLine(trim(form[FancierBox::Address]));
        r.setAddressComplement(trim(form[FancierBox::Complement]));
        r.setTown(trim(form[FancierBox::Town]));
        r.setPostCode(trim(form[FancierBox::PostCode]));
        r.setTelephone(trim(form[FancierBox::Telephone]));
        r.setClubGroupNumber(0);
        const PackedPoint loft = savedLoftPoint(
            {latitude, east, west}, {r.latitudeDms(), r.longitudeEastDms(), r.longitudeWestDms()});
        r.setLatitudeDms(loft.latitude);
        r.setLongitudeEastDms(loft.east);
        r.setLongitudeWestDms(loft.west);
        master.write(n, r);
        written.add(master.path());
        const FancierRecord listed = r;
        r.setClubNumber(QString::number(edited.clubNo));
        r.setClubNamePrefix(Left(clubName(edited.clubNo), 4));
        season.write(n, r);
        out.listLine = fancierListItem(listed, n);
    } catch (const Error& e) {
        return failed(dialogs, e, written);
    }
    out.outcome = FancierSave::Saved;
    return out;
}

} // namespace vt
