#pragma once
// The club: record 1 of societe.nom, read at start-up into the club tables, and saved by
// the club form with the previous file kept as socres.
#include "common/records.h"
#include "common/session.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace vt {

// The texts of the club form's boxes, as typed.
struct ClubTexts {
    QString name, code, groupNumber, correspondent, address, complement, postCode, town;
};

// The boxes' texts of a club record: name, code and address texts trimmed, the group
// number as plain decimal text ("0" for an empty record).
ClubTexts clubTexts(const ClubRecord& r);

// The group-number box: empty is 0; otherwise a number (decimal comma or point) rounded
// to the nearest whole number, halves to even, within an Integer; nullopt when refused.
std::optional<int16_t> groupNumberFromText(const QString& text);
QString groupNumberRefusedMessage();

// The boxes of the club form that hold a text.
enum class ClubBox { Name, Code, Correspondent, Address, Complement, PostCode, Town };
struct ClubTextRefusal {
    ClubBox box;
    QString message; // names the box and the character
};
// The first box, in the form's order, holding a character that the club file cannot
// store (outside Windows-1252); nullopt when every text can be stored.
std::optional<ClubTextRefusal> clubTextRefusal(const ClubTexts& t);

// The record the form saves, built from the empty record: name and code trimmed, the
// address texts as typed, each cut to its field. Throws vt::Error (a refused group
// number, a character that cannot be stored) with a French message.
ClubRecord buildClubRecord(const ClubTexts& t);

// Reads record 1 of the club file into the club tables, the caption and the sender
// address. Returns false when there is no club (empty file or blank name).
bool readClubTables(Session& s);

// Saves the club: the new file is written aside, socres receives the club file as it was,
// then the new file replaces societe.nom, which is thus never missing or empty; the club
// tables and the sender address are read back. Throws vt::Error; on failure societe.nom
// is unchanged.
void saveClub(Session& s, const ClubTexts& t);

} // namespace vt
