#include "fancier_slots.h"

#include "record_file.h"
#include "session.h"
#include "text.h"

#include <QDir>
#include <algorithm>

namespace vt {

bool isFreeForReaders(const QString& name) {
    const QString t = trim(name);
    if (t.isEmpty())
        return true;
    const QChar first = upperCase(t.left(1)).at(0);
    return !(first >= u'A' && first <= u'Z');
}

bool isBlankName(const QString& name) { return isBlank(name); }

bool isAcceptableNewName(const QString& name) {
    return isBlank(name) || !isFreeForReaders(name);
}

FancierRecord blankFancierRecord() {
    FancierRecord r;
    r.setRaw(0, QByteArray(132, ' '));
    r.setRaw(148, QByteArray(9, ' '));
    r.setRaw(159, QByteArray(4, ' '));
    r.setRaw(581, QByteArray(8, ' '));
    return r;
}

int findClaimableRecord(const QString& seasonFile, const QString& masterFile) {
    RecordFileOf<FancierRecord> season(seasonFile), master(masterFile);
    const QList<FancierRecord> s = season.readAll();
    const QList<FancierRecord> m = master.readAll();
    const int last = static_cast<int>(std::max(s.size(), m.size()));
    for (int n = 1; n <= last; ++n) {
        const bool blankS = n > s.size() || isBlankName(s[n - 1].fancierName());
        const bool blankM = n > m.size() || isBlankName(m[n - 1].fancierName());
        if (blankS && blankM)
            return n;
    }
    return last + 1;
}

void clearStaleStakes(int recordNo, const QList<int>& chosenRaceCodes, const QString& yearFolder,
                      WrittenFiles* written) {
    for (int code : chosenRaceCodes) {
        if (code == 0)
            break;
        RecordFileOf<StakeAmountBlock> mise(
            resolveFile(yearFolder, raceFileName(QStringLiteral("mise"), code)));
        if (recordNo > mise.count())
            continue;
        if (!mise.read(recordNo).isZero()) {
            mise.write(recordNo, StakeAmountBlock());
            if (written)
                written->add(mise.path());
        }
    }
}

} // namespace vt
