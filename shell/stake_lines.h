#pragma once
// The stake-sheet lines that the race set-up and the race export recognise: "FRAIS" and
// "Résultat" by their trimmed label (their unit value is typed at set-up), the bet total
// "jeu" and the sub-total "s/to" by their trimmed code.
#include "common/records.h"

namespace vt {

bool isFeesLine(const StakeTypeRecord& line);
bool isResultLine(const StakeTypeRecord& line);
bool isBetTotalLine(const StakeTypeRecord& line);
bool isSubTotalLine(const StakeTypeRecord& line);

} // namespace vt
