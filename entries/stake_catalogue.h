#pragma once
// The fixed catalogue of stake-sheet lines, and the one place where the kind of a
// stake line (bet line, game total, fees, sub-total, deductions, ...) is recognised.
//
// A line text is the 8-character label followed by the 5-character code; a sheet
// line loaded from a file may show a space between them (14 characters). Readers
// always take the first 8 characters as the label and the last 5 as the code.
//
// Two families of tests exist, because the programs look at lines in two ways:
//  - textKinds(): on the text shown in a grid (the entry sheet's and the sheet
//    editor's first column). The end tests look at the trimmed text's last 2, 3 or
//    4 characters; "FRAIS" and "GRATU" at its first 5 characters, untrimmed.
//  - recordKinds(): on the stored fields, as the race set-up, the recap storage and
//    the prints read them. An accounting code ("jeu", "frai", "s/to", ...) must be
//    the whole trimmed code; "ixt", "rem", ".1", ".2", "i.2" and ".O." are endings of
//    the trimmed code; labels are tested on their first characters.
// For every catalogue line both families give the same kinds.
#include "common/records.h"

#include <QFlags>
#include <QString>

#include <array>
#include <cstdint>

namespace vt {

class StakeCatalogue {
public:
    static constexpr int Count = 58;
    // Line texts in catalogue order; element 0 is line 1.
    static const std::array<QString, Count>& texts();
    // Line text number 1 to 58; throws vt::Error for any other number.
    static QString text(int number);
    // The record a catalogue line gives before pricing: count 0, unit value 0.
    static StakeTypeRecord record(int number);
};

// The label of a line text: its first 8 characters, padded with spaces to 8.
QString lineLabel(const QString& lineText);
// The code of a line text: its last 5 characters (the whole text when shorter).
QString lineCode(const QString& lineText);
// Label 8 immediately followed by code 5, as the entry grid and the prints show it.
QString lineText(const StakeTypeRecord& r);
// Label, one space, code (14 characters), as the sheet editor shows a loaded line.
QString loadedLineText(const StakeTypeRecord& r);
// The record of a line text (label = first 8, code = last 5). Throws EncodingError
// for a character that Windows-1252 cannot hold.
StakeTypeRecord stakeRecord(const QString& lineText, int16_t count, float unitValue);

enum class StakeKind : uint32_t {
    Belge = 1u << 0,           // label begins "BELGE" (any case)
    DotOne = 1u << 1,          // ends ".1" (Un.1, AS.1)
    DotTwo = 1u << 2,          // ends ".2" (Ri.2)
    RiTwo = 1u << 3,           // ends "i.2" (Ri.2)
    Poule = 1u << 4,           // pool line: label "Poule"
    PouleAs = 1u << 5,         // pool line whose trimmed code begins "AS": keeps its code
    MarkedPoule = 1u << 6,     // 11th character "S" (AS, AS.1, unpriced PSPE): ends a pool cascade
    SeriesTwoThree = 1u << 7,  // series "2/3"
    SeriesThreeThree = 1u << 8,// series "3/3" (or a "Sér. 3/3" label)
    SeriesTwoTwo = 1u << 9,    // series "2/2"
    SeriesFourSix = 1u << 10,  // series "4/6"
    SeriesThreeFive = 1u << 11,// series "3/5"
    SerTwoThree = 1u << 12,    // label "Sér. 2/3"
    SerThreeFive = 1u << 13,   // label "Sér. 3/5"
    Mixt = 1u << 14,           // ends "ixt": its count is taken by the entry sheet
    Prem = 1u << 15,           // ends "rem"
    ObligatoryPart = 1u << 16, // ends ".O." (Mise+Obl, Honn+Obl)
    GameTotal = 1u << 17,      // "jeu": total of the bet lines, end of the bet lines
    FeesCode = 1u << 18,       // "frai": first accounting line
    Fees = 1u << 19,           // label begins "FRAIS"
    Free = 1u << 20,           // label begins "GRATU": free stakes, subtracted
    ResultCode = 1u << 21,     // "resu": counts 1 per fancier in a recap
    Result = 1u << 22,         // label "Résultat"
    SubTotal = 1u << 23,       // "s/to": what the fancier owes for the race
    Deduction = 1u << 24,      // "dedu": deduction percentage
    RingsCode = 1u << 25,      // "bagu"
    Rings = 1u << 26,          // label begins "Bague"
    TelephoneCode = 1u << 27,  // "tele": unit value forced to 1
    Telephone = 1u << 28,      // label begins "télép"
    DeductionTotal = 1u << 29, // "s/td": total of the deductions
    GrandTotal = 1u << 30,     // "t/ge": grand total
};
Q_DECLARE_FLAGS(StakeKinds, StakeKind)
Q_DECLARE_OPERATORS_FOR_FLAGS(StakeKinds)

// The series kinds together, for "is this a series line".
constexpr StakeKinds SeriesKinds =
    StakeKinds(StakeKind::SeriesTwoThree) | StakeKind::SeriesThreeThree |
    StakeKind::SeriesTwoTwo | StakeKind::SeriesFourSix | StakeKind::SeriesThreeFive;

// Kinds of a line text as a grid shows it (see the header comment). Tests:
//   Belge         upper case of Left(trim(text), 5) = "BELGE"
//   DotOne/DotTwo Right(trim(text), 2) = ".1" / ".2";  RiTwo Right(.., 3) = "i.2"
//   Poule         trim(Left(trim(text), 7)) = "Poule"
//   PouleAs       Poule, and the code (last 5 characters) trimmed begins "AS"
//   MarkedPoule   Poule, and character 11 of the 13-character form (label 8 & code 5)
//                 is "S", i.e. the code's third character
//   series        Right(trim(text), 3) = "2/3", "3/3", "2/2", "4/6", "3/5";
//                 or the trimmed text without its last 4 characters, trimmed, = "Sér. 3/3"
//   SerTwoThree / SerThreeFive  the trimmed text without its last 4 characters,
//                 trimmed, = "Sér. 2/3" / "Sér. 3/5"
//   Mixt, Prem, GameTotal, ObligatoryPart  Right(trim(text), 3) = "ixt", "rem", "jeu", ".O."
//   FeesCode, ResultCode, SubTotal, Deduction, RingsCode, TelephoneCode,
//   DeductionTotal, GrandTotal  Right(trim(text), 4) = "frai", "resu", "s/to", "dedu",
//                 "bagu", "tele", "s/td", "t/ge"
//   Fees, Free    Left(text, 5) = "FRAIS" / "GRATU" (untrimmed)
//   Result, Rings, Telephone  Left(text, 8) = "Résultat", Left(text, 5) = "Bague", "télép"
StakeKinds textKinds(const QString& lineText);

// Kinds of a stored line (see the header comment). code = the trimmed code field,
// label = the label field as stored, L5 = its first 5 characters:
//   GameTotal "jeu", FeesCode "frai", ResultCode "resu", SubTotal "s/to",
//   Deduction "dedu", RingsCode "bagu", TelephoneCode "tele", DeductionTotal "s/td",
//   GrandTotal "t/ge", series "2/3", "3/3", "2/2", "4/6", "3/5": code equals the text
//   Mixt "ixt", Prem "rem", DotOne ".1", DotTwo ".2", RiTwo "i.2",
//   ObligatoryPart ".O.": code ends with the text
//   Belge upper case of L5 = "BELGE"; Fees L5 = "FRAIS"; Free L5 = "GRATU";
//   Rings L5 = "Bague"; Telephone L5 = "télép"; Result trimmed label = "Résultat";
//   Poule trimmed label = "Poule"; PouleAs Poule and code begins "AS";
//   MarkedPoule Poule and the code field's third character is "S";
//   SerTwoThree / SerThreeFive / SeriesThreeThree trimmed label = "Sér. 2/3" / "Sér. 3/5" / "Sér. 3/3".
StakeKinds recordKinds(const StakeTypeRecord& r);
StakeKinds recordKinds(const QString& label8, const QString& code5);

// A pool line that the sheet editor prices: its trimmed text begins "Poule" and its
// code (last 5 characters) trimmed does not begin "AS".
bool isPricedPoolText(const QString& lineText);

// The kinds' names joined by "|" in declaration order ("GameTotal", "Fees|FeesCode"...),
// for messages and tests.
QString kindNames(StakeKinds kinds);

} // namespace vt
