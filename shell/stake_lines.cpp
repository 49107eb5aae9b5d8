#include "stake_lines.h"

#include "common/text.h"

namespace vt {

bool isFeesLine(const StakeTypeRecord& line) {
    return trim(line.stakeLabel()) == QStringLiteral("FRAIS");
}
bool isResultLine(const StakeTypeRecord& line) {
    return trim(line.stakeLabel()) == QStringLiteral("Résultat");
}
bool isBetTotalLine(const StakeTypeRecord& line) {
    return trim(line.stakeCode()) == QStringLiteral("jeu");
}
bool isSubTotalLine(const StakeTypeRecord& line) {
    return trim(line.stakeCode()) == QStringLiteral("s/to");
}

} // namespace vt
