#include "club.h"

#include "common/numbers.h"
#include "common/record_file.h"
#include "common/text.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace vt {

ClubTexts clubTexts(const ClubRecord& r) {
    ClubTexts t;
    t.name = trim(r.clubName());
    t.code = trim(r.clubCode());
    t.groupNumber = QString::number(r.groupNumber());
    t.correspondent = trim(r.correspondent());
    t.address = trim(r.addressLine());
    t.complement = trim(r.addressComplement());
    t.postCode = trim(r.postCode());
    t.town = trim(r.town());
    return t;
}

std::optional<int16_t> groupNumberFromText(const QString& text) {
    const TypedNumber n = parseTyped(text);
    if (n.isEmpty())
        return int16_t(0);
    if (!n.isNumber())
        return std::nullopt;
    return cint(n.value);
}

QString groupNumberRefusedMessage() {
    return QStringLiteral("Le numéro du groupement doit être un nombre entier de -32768 à 32767");
}

std::optional<ClubTextRefusal> clubTextRefusal(const ClubTexts& t) {
    const struct {
        ClubBox box;
        const QString& text;
        const char* caption;
    } boxes[] = {
        {ClubBox::Name, t.name, "Nom de la société"},
        {ClubBox::Code, t.code, "Code société"},
        {ClubBox::Correspondent, t.correspondent, "Nom du correspondant"},
        {ClubBox::Address, t.address, "Adresse"},
        {ClubBox::Complement, t.complement, "Complément d'adresse"},
        {ClubBox::PostCode, t.postCode, "Code postal"},
        {ClubBox::Town, t.town, "Localité"},
    };
    for (const auto& b : boxes) {
        const QString bad = firstNonCp1252(b.text);
        if (!bad.isEmpty())
            return ClubTextRefusal{b.box, QStringLiteral("Le caractère « %1 » de la case %2 ne "
                                                         "peut pas être enregistré.")
                                              .arg(bad)
                                              .arg(QString::fromUtf8(b.caption))};
    }
    return std::nullopt;
}

ClubRecord buildClubRecord(const ClubTexts& t) {
    const std::optional<int16_t> group = groupNumberFromText(t.groupNumber);
    if (!group)
        throw Error(groupNumberRefusedMessage());
    if (const auto refusal = clubTextRefusal(t))
        throw EncodingError(refusal->message);
    ClubRecord r;
    r.setClubName(trim(t.name));
    r.setGroupNumber(*group);
    r.setClubCode(trim(t.code));
    r.setCorrespondent(t.correspondent);
    r.setAddressLine(t.address);
    r.setAddressComplement(t.complement);
    r.setPostCode(t.postCode);
    r.setTown(t.town);
    return r;
}

bool readClubTables(Session& s) {
    const RecordFileOf<ClubRecord> file(s.ClubFilePath);
    const int count = file.count();
    const ClubRecord r = file.read(1);
    s.setClub(r.clubName(), r.clubCode(), count > 0 ? r.groupNumber() : 0);
    s.ClubCount = count > 0 ? count : 1;
    s.SenderAddress = {trim(r.correspondent()), trim(r.addressLine()),
                       trim(r.addressComplement()), trim(r.postCode()), trim(r.town())};
    return count > 0 && !isBlank(s.ClubNames.value(1));
}

namespace {

QString failedSave(const QString& file) {
    return QStringLiteral("L'enregistrement de la société a échoué : %1").arg(file);
}

} // namespace

void saveClub(Session& s, const ClubTexts& t) {
    const ClubRecord record = buildClubRecord(t);
    const QString clubPath = resolvePath(s.ClubFilePath);
    const QString backupPath = resolveFile(QFileInfo(clubPath).absolutePath(),
                                           QStringLiteral("socres"));

    QSaveFile next(clubPath);
    // The flush is checked now: a full disk must not leave an empty club file behind.
    if (!next.open(QIODevice::WriteOnly) ||
        next.write(record.bytes()) != record.bytes().size() || !next.flush() ||
        next.error() != QFileDevice::NoError) {
        next.cancelWriting();
        throw FileError(failedSave(clubPath));
    }

    QFile current(clubPath);
    if (current.exists()) {
        if (!current.open(QIODevice::ReadOnly))
            throw FileError(failedSave(clubPath));
        const QByteArray previous = current.readAll();
        current.close();
        try {
            writeWholeFile(backupPath, previous);
        } catch (const Error&) {
            throw FileError(failedSave(backupPath));
        }
    } else if (QFile::exists(backupPath) && !QFile::remove(backupPath)) {
        throw FileError(failedSave(backupPath));
    }

    if (!next.commit())
        throw FileError(failedSave(clubPath));
    s.ClubFilePath = clubPath;
    readClubTables(s);
}

} // namespace vt
