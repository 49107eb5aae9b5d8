#include "damage.h"

#include "record_file.h"
#include "text.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>
#include <cmath>

namespace vt {

namespace {

thread_local DamageScope* innermost = nullptr;
std::atomic<int> unheard{0};

// A message names about ten records of a file and says how many more there are, so that
// the box always fits the screen.
constexpr int MaxRecordsNamed = 10;

QString amountText(long long thousandths) {
    const QString sign = thousandths < 0 ? QStringLiteral("-") : QString();
    const unsigned long long a = thousandths < 0 ? 0ULL - static_cast<unsigned long long>(thousandths)
                                                 : static_cast<unsigned long long>(thousandths);
    return sign + QString::number(a / 1000) + u',' +
           QStringLiteral("%1").arg(a % 1000, 3, 10, QLatin1Char('0'));
}

} // namespace

DamageScope::DamageScope() : m_outer(innermost) { innermost = this; }

DamageScope::~DamageScope() { innermost = m_outer; }

void DamageScope::note(const DamageFinding& finding) {
    if (!innermost) {
        ++unheard;
        return;
    }
    if (!innermost->m_findings.contains(finding))
        innermost->m_findings.append(finding);
}

int DamageScope::unheardFindings() { return unheard; }

QStringList DamageScope::takeMessages() {
    QStringList out;
    QStringList files;
    for (const DamageFinding& f : m_findings)
        if (!m_told.contains(f.path) && !files.contains(f.path))
            files << f.path;
    for (const QString& path : files) {
        QStringList lines;
        int more = 0;
        for (const DamageFinding& f : m_findings) {
            if (f.path != path)
                continue;
            if (lines.size() < MaxRecordsNamed)
                lines << QStringLiteral("  enregistrement %1 : %2").arg(QString::number(f.recordNo), f.what);
            else
                ++more;
        }
        if (more > 0)
            lines << QStringLiteral("  et %1 autre(s)").arg(more);
        out << QStringLiteral("Le fichier %1 est endommagé :\n%2\nCes valeurs sont lues comme 0 "
                              "(un enregistrement incomplet n'est pas lu) ; vérifiez ce fichier "
                              "ou remplacez-le par une sauvegarde.")
                   .arg(QDir::toNativeSeparators(path), lines.join(u'\n'));
        m_told << path;
    }
    return out;
}

QString damagedNumberText(double v) {
    if (std::isnan(v))
        return QStringLiteral("NaN (pas un nombre)");
    if (std::isinf(v))
        return v > 0 ? QStringLiteral("+infini") : QStringLiteral("-infini");
    return QString::number(v, 'G', 9).replace(u'.', u',');
}

bool checkWholeRecords(const RecordFile& file) {
    // A missing file, or a folder in its place, is for the reader to report.
    const QFileInfo info(file.path());
    if (!info.isFile())
        return true;
    const qint64 tail = info.size() % file.recordLength();
    if (tail == 0)
        return true;
    noteDamage(file.path(), int(info.size() / file.recordLength()) + 1,
               QStringLiteral("incomplet (%1 octets sur %2), coupé au milieu")
                   .arg(tail)
                   .arg(file.recordLength()));
    return false;
}

QString incompleteTailNotice(const RecordFile& file) {
    const QFileInfo info(file.path());
    const qint64 tail = info.isFile() ? info.size() % file.recordLength() : 0;
    if (tail == 0)
        return QString();
    return QStringLiteral("Le fichier %1 est endommagé : son enregistrement %2 est incomplet "
                          "(%3 octets sur %4). Le programme le remplace par un enregistrement "
                          "vide (des mises à zéro) et complète le fichier.")
        .arg(QDir::toNativeSeparators(file.path()))
        .arg(info.size() / file.recordLength() + 1)
        .arg(tail)
        .arg(file.recordLength());
}

bool isPossibleStakePrice(double v) { return std::isfinite(v) && v >= 0 && v <= MaxStakePrice; }

bool isPossibleTypedCount(double v) { return std::isfinite(v) && v >= 0 && v <= MaxTypedCount; }

bool isPossibleCoordinate(double packed, bool latitude) {
    return std::isfinite(packed) && packed >= 0 && packed <= (latitude ? 900000 : 1800000);
}

QList<StakeTypeRecord> readStakeLines(const QString& path) {
    const RecordFileOf<StakeTypeRecord> file(path);
    checkWholeRecords(file);
    QList<StakeTypeRecord> lines = file.readAll();
    for (int i = 0; i < lines.size(); ++i) {
        StakeTypeRecord& line = lines[i];
        const float price = line.unitValue();
        if (isPossibleStakePrice(price))
            continue;
        noteDamage(file.path(), i + 1,
                   QStringLiteral("prix de la ligne « %1 » : %2")
                       .arg(trim(line.stakeLabel() + line.stakeCode()), damagedNumberText(price)));
        line.setUnitValue(0);
    }
    return lines;
}

int32_t checkedRaceAmount(const FancierRecord& record, int raceCode, const QString& path,
                          int recordNo) {
    if (raceCode < 0 || raceCode > FancierRecord::MaxRaceCode)
        return 0;
    const int32_t a = record.raceAmount(raceCode);
    if (a >= 0 && a <= MaxAmountOwedThousandths)
        return a;
    noteDamage(path, recordNo,
               QStringLiteral("montant dû au concours %1 : %2").arg(raceCode).arg(amountText(a)));
    return 0;
}

RaceRecapRecord checkedRecap(RaceRecapRecord recap, const QString& path, int recordNo) {
    if (recap.fancierCount() < 0) {
        noteDamage(path, recordNo,
                   QStringLiteral("nombre d'amateurs : %1").arg(recap.fancierCount()));
        recap.setFancierCount(0);
    }
    for (int j = 0; j <= 100; ++j) {
        if (recap.total(j) >= 0)
            continue;
        noteDamage(path, recordNo,
                   (j == 0 ? QStringLiteral("nombre de pigeons")
                           : QStringLiteral("total de la ligne %1").arg(j)) +
                       QStringLiteral(" : %1").arg(recap.total(j)));
        recap.setTotal(j, 0);
    }
    return recap;
}

ReleaseSiteRecord checkedSite(ReleaseSiteRecord site, const QString& path, int recordNo) {
    const auto check = [&](double v, bool latitude, const QString& field, auto set) {
        if (isPossibleCoordinate(v, latitude))
            return;
        noteDamage(path, recordNo,
                   QStringLiteral("%1 de « %2 » : %3")
                       .arg(field, trim(site.siteName()), damagedNumberText(v)));
        (site.*set)(0);
    };
    check(site.latitudeDms(), true, QStringLiteral("latitude"), &ReleaseSiteRecord::setLatitudeDms);
    check(site.longitudeEastDms(), false, QStringLiteral("longitude est"),
          &ReleaseSiteRecord::setLongitudeEastDms);
    check(site.longitudeWestDms(), false, QStringLiteral("longitude ouest"),
          &ReleaseSiteRecord::setLongitudeWestDms);
    return site;
}

QList<ReleaseSiteRecord> readCheckedSites(const QString& path) {
    const RecordFileOf<ReleaseSiteRecord> file(path);
    checkWholeRecords(file);
    const QList<ReleaseSiteRecord> sites = file.readAll();
    QList<ReleaseSiteRecord> out;
    out.reserve(sites.size());
    for (int i = 0; i < sites.size(); ++i)
        if (!isBlank(sites[i].siteName()))
            out.append(checkedSite(sites[i], file.path(), i + 1));
    return out;
}

} // namespace vt
