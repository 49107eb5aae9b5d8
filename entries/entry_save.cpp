#include "entries/entry_save.h"

#include "common/damage.h"
#include "common/errors.h"
#include "common/fancier_slots.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/sorting.h"
#include "common/text.h"
#include "entries/entry_sheet.h"
#include "platform/clock.h"
#include "platform/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vt {

// --- The recap list ---

QString recapListItem(const QString& name, int recordNo, const QString& clubName,
                      long long totalThousandths, bool afterSave) {
    QString line = padRight(trim(name), 23) + Right(Space(6) + QString::number(recordNo), 5) +
                   QStringLiteral(" ") + Left(trim(clubName) + Space(18), 18);
    if (totalThousandths > 0)
        line += applyMask(format3(static_cast<double>(totalThousandths) / 1000.0),
                          QStringLiteral("@@@@@@@@@"));
    else if (afterSave)
        line += Space(11);
    return line;
}

long long fancierTotal(const FancierRecord& record,
                       const std::array<int16_t, 12>& chosenRaceCodes, const QString& path,
                       int recordNo) {
    long long total = 0;
    for (int k = 1; k <= MaxChosenRaces && chosenRaceCodes[k] != 0; ++k)
        total += checkedRaceAmount(record, chosenRaceCodes[k], path, recordNo);
    return total;
}

int recordNoOfRecapLine(const QString& line) {
    return static_cast<int>(val(Mid(line, 24, 5)));
}

bool recapLineHasTotal(const QString& line) {
    return !isBlank(Mid(line, RecapLineTotalColumn));
}

RecapListLoad loadRecapList() {
    RecapListLoad out;
    const Session& s = session();
    RecordFileOf<FancierRecord> file(s.FancierFilePath);
    if (!file.exists())
        return out;
    QList<FancierRecord> records;
    try {
        checkWholeRecords(file);
        records = file.readAll();
    } catch (const Error& e) {
        out.error = e.message();
        return out;
    }
    const QString club = s.ClubNames.value(1);
    QList<RecordWrite> mends;
    for (int r = 1; r <= records.size(); ++r) {
        FancierRecord rec = records[r - 1];
        const FancierRecord original = rec;
        if (rec.statusFlag() > 1 || rec.statusFlag() < 0)
            rec.setStatusFlag(0);
        if (QString(rec.clubNumber()).remove(u' ') != QStringLiteral("1"))
            rec.setClubNumber(QStringLiteral("1"));
        const QString name = trim(rec.fancierName());
        if (!isFreeForReaders(name)) {
            const QString line = recapListItem(name, r, club, fancierTotal(rec, s.ChosenRaceCodes, file.path(), r));
            out.records.insert(insertSorted(out.lines, line), r);
        } else if (isBlank(name)) {
            // A free slot, made clean for the next fancier; a name that does not begin with
            // A to Z is a real fancier of older files and keeps his name.
            rec.setClubNumber(QStringLiteral("0"));
            rec.setFancierName(QString());
        }
        if (!(rec == original))
            mends.append({r, rec.bytes()});
    }
    // The mended records are written back after the pass, consecutive records in one piece.
    try {
        writeRecordsInPlace(file, mends, out.written);
    } catch (const Error& e) {
        out.error = e.message();
    }
    return out;
}

// --- The save ---

namespace {

struct BoxText {
    EntryBox box;
    const QString* text;
    const char* caption;
};

QString writableProblem(const QString& path) {
    const QFileInfo info(path);
    bool ok;
    if (info.exists()) {
        QFile f(path);
        ok = info.isFile() && f.open(QIODevice::ReadWrite);
    } else {
        const QFileInfo folder(info.absolutePath());
        ok = folder.isDir() && folder.isWritable();
    }
    if (ok)
        return {};
    return QStringLiteral("Le fichier %1 ne peut pas être écrit : rien n'a été enregistré.")
        .arg(QDir::toNativeSeparators(path));
}

EntrySavePlan refused(EntrySavePlan p, const QString& message, EntryBox focus = EntryBox::None) {
    p.status = EntrySavePlan::Refused;
    p.message = message;
    p.focus = focus;
    return p;
}

int clubIn(int clubNo) {
    return clubNo >= 1 && clubNo <= session().ClubCount ? clubNo : 1;
}

} // namespace

EntrySavePlan planEntrySave(const EntrySaveInput& input, const RaceGrids& grids) {
    EntrySavePlan p;
    const Session& s = session();
    const EntryBoxes& b = input.boxes;
    p.recordNo = input.recordNo;
    if (p.recordNo < 1)
        return refused(p, QStringLiteral("Aucune fiche d'amateur n'est ouverte : rien n'a été "
                                         "enregistré."));
    try {
        RecordFileOf<FancierRecord> season(s.FancierFilePath), master(s.MasterFancierPath);
        p.seasonPath = season.path();
        p.masterPath = master.path();
        const FancierRecord stored = season.read(p.recordNo);
        const QString storedName = trim(stored.fancierName());
        const QString typedName = trim(b.name);
        if (storedName.isEmpty() && typedName.isEmpty()) {
            p.status = EntrySavePlan::NothingToSave;
            p.message = QStringLiteral("Aucun nom : rien n'a été enregistré.");
            p.focus = EntryBox::Name;
            return p;
        }

        const BoxText boxes[] = {
            {EntryBox::Name, &b.name, "NOM et Prénom"},
            {EntryBox::Licence, &b.licence, "N° LICENCE"},
            {EntryBox::Address, &b.address, "ADRESSE"},
            {EntryBox::Complement, &b.complement, "COMPLEMENT"},
            {EntryBox::Town, &b.town, "VILLE"},
            {EntryBox::PostCode, &b.postCode, "CODE POSTAL"},
            {EntryBox::Telephone, &b.telephone, "TELEPHONE"},
            {EntryBox::Latitude, &b.latitude, "LATITUDE"},
            {EntryBox::East, &b.east, "LONGITUDE EST"},
            {EntryBox::West, &b.west, "LONGITUDE OUEST"},
        };
        for (const BoxText& box : boxes) {
            const QString c = firstNonCp1252(*box.text);
            if (!c.isEmpty())
                return refused(p,
                               QStringLiteral("Le caractère « %1 » ne peut pas être enregistré "
                                              "(%2).")
                                   .arg(c, QString::fromUtf8(box.caption)),
                               box.box);
        }
        if (const QString m = nameRefusal(typedName); !m.isEmpty())
            return refused(p, m, EntryBox::Name);
        double coordinates[3];
        const double storedCoordinates[3] = {stored.latitudeDms(), stored.longitudeEastDms(),
                                             stored.longitudeWestDms()};
        for (int i = 0; i < 3; ++i) {
            const BoxText& box = boxes[7 + i];
            const TypedNumber typed = parseTyped(*box.text);
            coordinates[i] = typed.value;
            // A box still showing what it was given for the stored value is kept as stored.
            if (!typed.isInvalid() &&
                showsStoredCoordinate(typed.value, storedCoordinates[i], i == 0))
                continue;
            if (const QString m =
                    coordinateRefusal(*box.text, QString::fromUtf8(box.caption), i == 0);
                !m.isEmpty())
                return refused(p, m, box.box);
        }
        if (coordinates[1] != 0 && coordinates[2] != 0) {
            p.warnings << QStringLiteral("Deux longitudes : la longitude est est gardée.");
            coordinates[2] = 0;
        }
        for (int tab = 1; tab <= grids.count(); ++tab) {
            const int code = grids.raceCode(tab);
            if (code < 1 || code > FancierRecord::MaxRaceCode)
                return refused(p, QStringLiteral("Concours %1 : code hors limites, rien n'a été "
                                                 "enregistré.")
                                      .arg(code));
        }
        QString amountError;
        const auto amounts = grids.raceAmounts(&amountError);
        if (!amounts)
            return refused(p, amountError + QStringLiteral(" Rien n'a été enregistré."));

        p.deletion = !storedName.isEmpty() && typedName.isEmpty();
        FancierRecord rec = stored;
        rec.setFancierName(typedName);
        rec.setLicenceNumber(trim(b.licence));
        rec.setAddressLine(trim(b.address));
        rec.setAddressComplement(trim(b.complement));
        rec.setTown(trim(b.town));
        rec.setPostCode(trim(b.postCode));
        rec.setTelephone(trim(b.telephone));
        const PackedPoint loft =
            savedLoftPoint({coordinates[0], coordinates[1], coordinates[2]},
                           {storedCoordinates[0], storedCoordinates[1], storedCoordinates[2]});
        rec.setLatitudeDms(loft.latitude);
        rec.setLongitudeEastDms(loft.east);
        rec.setLongitudeWestDms(loft.west);
        rec.setPigeonCount(0);
        rec.setLastSaveYear(QStringLiteral(" %1").arg(today().year(), 4, 10, QChar(u'0')));
        const int oldClub = clubIn(static_cast<int>(val(stored.clubNumber())));
        rec.setClubNamePrefix(Left(trim(s.ClubNames.value(oldClub)), 4));
        rec.setClubNumber(numberText(clubIn(input.clubNo)));
        if (p.deletion) {
            // The record number will be given to another fancier: he must inherit nothing.
            for (int c = 0; c <= FancierRecord::MaxRaceCode; ++c)
                rec.setRaceAmount(c, 0);
        }
        // A race withdrawn while the sheet was open has lost its files: nothing is stored
        // for it, neither its stakes nor an amount owed.
        QList<int> withdrawn;
        for (int tab = 1; tab <= grids.count(); ++tab) {
            const int code = grids.raceCode(tab);
            const QString base = raceFileName(QStringLiteral("bases"), code);
            if (RecordFileOf<RaceBaseRecord>(resolveFile(s.YearFolder, base)).count() >= 1)
                continue;
            withdrawn << code;
            // A sheet opened after the withdrawal has no site to name ("? ?"): its code does.
            const QString caption = trim(grids.grid(tab).caption());
            const QString race =
                caption.isEmpty() || caption.startsWith(u'?') ? QString::number(code) : caption;
            p.warnings << QStringLiteral("Le concours %1 a été retiré (le fichier %2 n'existe "
                                         "plus) : ses engagements ne sont pas enregistrés.")
                              .arg(race, base);
        }

        p.seasonRecord = rec;
        p.masterRecord = rec;
        p.finalRecord = rec;
        if (!p.deletion)
            for (const auto& [code, thousandths] : *amounts)
                if (!withdrawn.contains(code))
                    p.finalRecord.setRaceAmount(code, thousandths);

        for (int tab = 1; tab <= grids.count(); ++tab) {
            if (withdrawn.contains(grids.raceCode(tab)))
                continue;
            StakeBlockWrite w;
            w.raceCode = grids.raceCode(tab);
            RecordFileOf<StakeAmountBlock> mise(
                resolveFile(s.YearFolder, raceFileName(QStringLiteral("mise"), w.raceCode)));
            w.path = mise.path();
            w.block =
                p.deletion ? StakeAmountBlock() : grids.grid(tab).stakeBlock(mise.read(p.recordNo));
            p.blocks.append(w);
        }

        if (p.deletion)
            p.deletionQuestion =
                QStringLiteral("Supprimer l'amateur n° %1 (%2) et ses engagements des concours "
                               "choisis ?")
                    .arg(p.recordNo)
                    .arg(storedName);
        // Another window may have saved a fancier into this record since the sheet opened.
        const QString opened = input.nameAtOpen ? *input.nameAtOpen : storedName;
        const QString overwritten =
            overwrittenFancier(master.read(p.recordNo).fancierName(), opened, typedName);
        if (!overwritten.isEmpty())
            p.masterQuestion = overwriteQuestion(p.recordNo, overwritten);

        QStringList paths{p.seasonPath, p.masterPath};
        for (const StakeBlockWrite& w : p.blocks)
            paths << w.path;
        for (const QString& path : paths)
            if (const QString m = writableProblem(path); !m.isEmpty())
                return refused(p, m);

        if (!typedName.isEmpty())
            p.recapLine = recapListItem(typedName, p.recordNo, s.ClubNames.value(1),
                                        fancierTotal(p.finalRecord, s.ChosenRaceCodes,
                                                     s.FancierFilePath, p.recordNo),
                                        true);
    } catch (const Error& e) {
        return refused(p, e.message());
    }
    p.status = EntrySavePlan::Ready;
    return p;
}

QString applyEntrySave(const EntrySavePlan& plan) {
    if (plan.status != EntrySavePlan::Ready)
        return plan.message;
    WrittenFiles written;
    try {
        RecordFileOf<FancierRecord> season(plan.seasonPath), master(plan.masterPath);
        season.write(plan.recordNo, plan.seasonRecord);
        written.add(season.path());
        master.write(plan.recordNo, plan.masterRecord);
        written.add(master.path());
        for (const StakeBlockWrite& w : plan.blocks) {
            RecordFileOf<StakeAmountBlock>(w.path).write(plan.recordNo, w.block);
            written.add(w.path);
        }
        season.write(plan.recordNo, plan.finalRecord);
    } catch (const Error& e) {
        return e.message() + QStringLiteral("\nL'enregistrement de la fiche est interrompu.") +
               written.note();
    }
    return {};
}

EntrySaveResult saveEntrySheet(const EntrySaveInput& input, const RaceGrids& grids,
                               Dialogs& dialogs) {
    EntrySaveResult result;
    result.plan = planEntrySave(input, grids);
    const QString title = QStringLiteral("Enregistrement");
    if (result.plan.status != EntrySavePlan::Ready) {
        dialogs.inform(result.plan.message, title, MsgIcon::Exclamation);
        result.focus = result.plan.focus;
        return result;
    }
    for (const QString& w : result.plan.warnings)
        dialogs.inform(w, title, MsgIcon::Exclamation);
    if (!result.plan.deletionQuestion.isEmpty() &&
        !dialogs.askYesNo(result.plan.deletionQuestion, title, MsgAnswer::No))
        return result;
    if (!result.plan.masterQuestion.isEmpty() &&
        !dialogs.askYesNo(result.plan.masterQuestion, title, MsgAnswer::No))
        return result;
    if (const QString error = applyEntrySave(result.plan); !error.isEmpty()) {
        dialogs.inform(error, title, MsgIcon::Critical);
        return result;
    }
    result.saved = true;
    return result;
}

} // namespace vt
