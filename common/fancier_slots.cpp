#include "fancier_slots.h"

#include "record_file.h"
#include "session.h"
#include "text.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

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

namespace {

// The records held by open windows, per season file.
QHash<QString, QSet<int>>& heldClaims() {
    static QHash<QString, QSet<int>> held;
    return held;
}

QString claimKey(const QString& seasonFile) {
    return QDir::cleanPath(QFileInfo(seasonFile).absoluteFilePath());
}

} // namespace

struct FancierClaim::Hold {
    QString key;
    int recordNo = 0;
    Hold(QString k, int n) : key(std::move(k)), recordNo(n) { heldClaims()[key].insert(n); }
    ~Hold() { end(); }
    Hold(const Hold&) = delete;
    Hold& operator=(const Hold&) = delete;
    void end() {
        if (recordNo == 0)
            return;
        auto it = heldClaims().find(key);
        if (it != heldClaims().end()) {
            it->remove(recordNo);
            if (it->isEmpty())
                heldClaims().erase(it);
        }
        recordNo = 0;
    }
};

int FancierClaim::recordNo() const { return m_hold ? m_hold->recordNo : 0; }

void FancierClaim::release() {
    if (m_hold)
        m_hold->end();
    m_hold.reset();
}

bool isClaimHeld(const QString& seasonFile, int recordNo) {
    const auto it = heldClaims().constFind(claimKey(seasonFile));
    return it != heldClaims().constEnd() && it->contains(recordNo);
}

int findClaimableRecord(const QString& seasonFile, const QString& masterFile) {
    RecordFileOf<FancierRecord> season(seasonFile), master(masterFile);
    const QList<FancierRecord> s = season.readAll();
    const QList<FancierRecord> m = master.readAll();
    for (int n = 1;; ++n) {
        const bool blankS = n > s.size() || isBlankName(s[n - 1].fancierName());
        const bool blankM = n > m.size() || isBlankName(m[n - 1].fancierName());
        if (blankS && blankM && !isClaimHeld(seasonFile, n))
            return n;
    }
}

FancierClaim claimFancierRecord(const QString& seasonFile, const QString& masterFile) {
    FancierClaim claim;
    claim.m_hold = std::make_shared<FancierClaim::Hold>(
        claimKey(seasonFile), findClaimableRecord(seasonFile, masterFile));
    return claim;
}

QString overwrittenFancier(const QString& storedName, const QString& openedName,
                           const QString& typedName) {
    const QString stored = trim(storedName);
    const auto same = [&stored](const QString& other) {
        return stored.compare(trim(other), Qt::CaseInsensitive) == 0;
    };
    return stored.isEmpty() || same(openedName) || same(typedName) ? QString() : stored;
}

QString overwriteQuestion(int recordNo, const QString& storedName) {
    return QStringLiteral("La fiche n° %1 du fichier général contient « %2 ». La remplacer ?")
        .arg(recordNo)
        .arg(trim(storedName));
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
