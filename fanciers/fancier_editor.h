#pragma once
// The address editor's rules: the record a new fancier claims, what the boxes show, and
// the save into both fanciers files (or the deletion of the fancier).
#include "common/fancier_slots.h"
#include "common/records.h"
#include "platform/dialogs.h"

#include <QString>

namespace vt {

// The editor's boxes, in the order Enter walks through them.
enum class FancierBox {
    Name,       // Text1
    Address,    // Texte2
    Complement, // Texte3
    Town,       // Texte4
    PostCode,   // Texte5
    Telephone,  // Texte6
    Latitude,   // Text3
    East,       // Text4
    West,       // Text5
    Licence,    // Texte1
};
inline constexpr int FancierBoxCount = 10;

// The box's caption as the messages name it ("LATITUDE", "NOM et Prénom").
QString fancierBoxCaption(FancierBox box);

// The texts of the ten boxes.
struct FancierForm {
    QString text[FancierBoxCount];
    QString& operator[](FancierBox b) { return text[static_cast<int>(b)]; }
    const QString& operator[](FancierBox b) const { return text[static_cast<int>(b)]; }
    bool operator==(const FancierForm& o) const;
};

// One fancier as the editor holds him from its load to its save.
struct EditedFancier {
    int recordNo = 0;   // the record the editor writes, fixed at load
    FancierClaim claim; // a new fancier's record, held while the editor is open
    int clubNo = 1;     // Label4
    QString clubName;   // Label3
    QString nameAtLoad; // trimmed
    FancierForm form;   // the boxes as filled at load
};

// The message refusing a coordinate box's text: not a number (decimal comma or point),
// negative, or naming no place (impossibleCoordinateRefusal). Empty when the text is a
// coordinate; an empty box reads 0.
QString fancierCoordinateRefusal(FancierBox box, const QString& text);

// A coordinate as the boxes show it: the number with the decimal comma, empty for 0 when
// `emptyWhenZero`.
QString coordinateText(double value, bool emptyWhenZero);

// Opens record `recordNo` of the season file; below 1, a new fancier first claims the
// lowest record free in both fanciers files and held by no open window, holds it in
// `claim`, and writes it there with the default club.
// Throws Error with a French message when a file cannot be read or written.
EditedFancier openFancier(int recordNo, int defaultClub);

struct FancierSave {
    enum Outcome {
        Saved,    // the fancier is written in both files
        Deleted,  // the fancier is erased from both files
        Refused,  // a box is refused or a question answered No; nothing written
        Failed,   // a file could not be written (the message named it)
    } outcome = Refused;
    FancierBox focus = FancierBox::Name; // the box that keeps the focus when refused
    QString listLine; // the fancier's line for the list (empty after a deletion)
};

// Checks the boxes, asks what must be asked, then writes: the master first, then the
// season copy. An empty name deletes the fancier after a question (default No), and
// clears his stake blocks in the chosen races. A master record that now holds another
// fancier than the one opened is written over only on Yes to a question (default No).
// A coordinate box left as it was opened keeps the stored value (savedLoftPoint).
FancierSave saveFancier(const EditedFancier& edited, const FancierForm& form, Dialogs& dialogs);

} // namespace vt
