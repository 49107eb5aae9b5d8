#include "race_export.h"


#include "entries/stake_catalogue.h"

#include "common/dates.h"
#include "common/errors.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/records.h"
#include "common/session.h"
#include "common/text.h"

#include <QDir>
#include <QFileInfo>

#include <cmath>

namespace vt {

QString exportFileName(const QString& site, int raceCode, const QDate& date, int category) {
    const int level = raceCode / 100 - 1;
    QString name = trim(site) + u' ' + LevelNames[level & 3] + u'_' +
                   frenchDate(date, QStringLiteral("dd_mm ")) + u'.' + CategoryNames[category & 3];
    for (QChar& c : name)
        if (c.unicode() < 0x20 || QStringLiteral("\\/:*?\"<>|").contains(c))
            c = u'_';
    return name;
}

namespace {

bool folderReady(const QString& folder) {
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable();
}

// A text written as one field: a ";" would start another column and a line break another
// line, so each becomes a space (names stored before may hold one; the record keeps it).
QString fieldText(QString text) {
    for (QChar& c : text)
        if (c == u';' || c.unicode() < 0x20)
            c = u' ';
    return text;
}

// A value through a mask with a point before its last two "@": rounded to hundredths on
// its own digits (halves away from zero) first, so that only its digits fill the mask and
// the mask's point is the only separator ("480506.345" gives " 480506.35").
QString hundredthsMask(const QString& digits, const QString& mask) {
    QString t = roundDecimalText(digits, 2);
    t.remove(u',');
    const bool negative = t.startsWith(u'-');
    if (negative)
        t.remove(0, 1);
    while (t.size() > 1 && t.startsWith(u'0'))
        t.remove(0, 1);
    return applyMask(negative ? u'-' + t : t, mask);
}

// A stake value in exact thousandths: its own digits (seven for a Single) rounded to three
// decimals, so that a column adds up without the errors of binary fractions. A value no
// window can have stored (not finite, beyond a thousand billion) counts 0.
long long thousandthsOf(float value) {
    if (!std::isfinite(value) || std::fabs(value) >= 1e12f)
        return 0;
    QString t = roundDecimalText(plainDigits(value), 3);
    t.remove(u',');
    return t.toLongLong();
}

// Thousandths written as a decimal number with a point: "-12.345".
QString thousandthsDigits(long long t) {
    const long long a = t < 0 ? -t : t;
    return (t < 0 ? QStringLiteral("-") : QString()) + QString::number(a / 1000) + u'.' +
           QString::number(a % 1000).rightJustified(3, u'0');
}

// The ordinary text of a sum of thousandths: decimal comma, no trailing zeros.
QString thousandthsText(long long t) {
    QString out = roundDecimalText(thousandthsDigits(t), 3);
    while (out.endsWith(u'0'))
        out.chop(1);
    if (out.endsWith(u','))
        out.chop(1);
    return out;
}

MessageRequest warning(const QString& text) {
    MessageRequest m;
    m.text = text;
    m.icon = MsgIcon::Exclamation;
    return m;
}

} // namespace

ExportResult exportRace(Dialogs& dialogs, int raceCode, const QString& yearFolder,
                        const QString& fancierFile, const QString& folder) {
    ExportResult result;
    const QString basesPath = resolveFile(yearFolder, raceFileName("bases", raceCode));
    const QString stakesPath = resolveFile(yearFolder, raceFileName("basejeu", raceCode));
    const QString misePath = resolveFile(yearFolder, raceFileName("mise", raceCode));

    // A race that was never set up at this level is refused before anything is made.
    const RecordFileOf<RaceBaseRecord> bases(basesPath);
    const RecordFileOf<StakeTypeRecord> stakes(stakesPath);
    const RecordFileOf<StakeAmountBlock> mise(misePath);
    const RaceBaseRecord base = bases.read(1);
    const QString digit = trim(base.categoryDigit());
    const QDate date = parseLongDate(base.calendarDateLong());
    const QList<StakeTypeRecord> lines = stakes.readAll();
    if (bases.count() < 1 || digit.size() != 1 || digit[0] < u'0' || digit[0] > u'3' ||
        !date.isValid() || lines.isEmpty() || lines.size() > StakeAmountBlock::MaxLine ||
        !mise.exists()) {
        dialogs.message(warning(QStringLiteral(
            "Ce concours n'a pas été préparé à ce niveau : rien n'a été exporté.")));
        result.outcome = ExportOutcome::NotPrepared;
        return result;
    }
    const int n = static_cast<int>(lines.size());

    QStringList out;
    QString header = QStringLiteral("Noms Prénoms ;Licence;Latitude;longitude;E/O;Engagés;");
    for (const StakeTypeRecord& line : lines)
        header += applyMask(fieldText(line.stakeCode()), QStringLiteral("@@@@@")) + u';';
    out.append(header);

    QList<long long> totals(n + 1, 0); // thousandths
    const RecordFileOf<FancierRecord> fanciers(resolvePath(fancierFile));
    const int count = fanciers.count();
    for (int i = 1; i <= count; ++i) {
        const StakeAmountBlock block = mise.read(i);
        if (!(block.pigeonsEntered() > 0))
            continue;
        const FancierRecord f = fanciers.read(i);
        const bool east = f.longitudeEastDms() != 0;
        QStringList fields;
        fields << fieldText(f.fancierName())
               << applyMask(fieldText(f.licenceNumber()), QStringLiteral("@@@@@@@ "))
               << hundredthsMask(plainDigits(f.latitudeDms()), QStringLiteral("@@@@@@@.@@"))
               << hundredthsMask(plainDigits(east ? f.longitudeEastDms() : f.longitudeWestDms()),
                                 QStringLiteral("@@@@@@@.@@ "))
               << (east ? QStringLiteral("E") : QStringLiteral("O"))
               << u' ' + applyMask(block.stakeCount(0), QStringLiteral("@@@@@"));
        for (int k = 1; k < n; ++k) {
            const float v = block.stakeCount(k);
            fields << (recordKinds(lines[k - 1]).testFlag(StakeKind::GameTotal)
                           ? hundredthsMask(plainDigits(v), QStringLiteral("@@@@@.@@"))
                           : applyMask(v, QStringLiteral("@@@@@")));
        }
        fields << applyMask(format2(block.stakeCount(n)), QStringLiteral("@@@@@@@@"));
        out.append(fields.join(u';'));
        for (int k = 0; k <= n; ++k)
            totals[k] += thousandthsOf(block.stakeCount(k));
    }

    // The sums are exact; the amount column is rounded once, at the end.
    QString last = QStringLiteral(";;;TOTAUX;;");
    for (int k = 0; k < n; ++k)
        last += applyMask(thousandthsText(totals[k]), QStringLiteral("@@@@@")) + u';';
    last +=
        applyMask(roundDecimalText(thousandthsDigits(totals[n]), 2), QStringLiteral("@@@@@@@@"));
    out.append(last);

    QByteArray bytes;
    for (const QString& line : out)
        bytes += encodeText(line) + QByteArrayLiteral("\r\n");

    const QString name = exportFileName(base.siteName(), raceCode, date, digit.toInt());
    while (!folderReady(folder)) {
        MessageRequest retry;
        retry.title = QStringLiteral("Le dossier %1 n'est pas accessible en écriture")
                          .arg(QDir::toNativeSeparators(folder));
        retry.text = QStringLiteral("Veuillez mettre la disquette dans le lecteur A:");
        retry.buttons = MsgButtons::YesNo;
        retry.icon = MsgIcon::Critical;
        retry.defaultButton = MsgAnswer::No;
        if (dialogs.message(retry) != MsgAnswer::Yes) {
            result.outcome = ExportOutcome::Declined;
            return result;
        }
    }
    result.path = QDir(folder).filePath(name);
    try {
        writeWholeFile(result.path, bytes);
    } catch (const Error& e) {
        dialogs.message(warning(QStringLiteral("L'exportation n'a pas été faite : ") + e.message()));
        result.outcome = ExportOutcome::Failed;
        return result;
    }
    result.outcome = ExportOutcome::Written;
    return result;
}

} // namespace vt
