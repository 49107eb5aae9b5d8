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
        header += applyMask(line.stakeCode(), QStringLiteral("@@@@@")) + u';';
    out.append(header);

    QList<float> totals(n + 1, 0.0f);
    const RecordFileOf<FancierRecord> fanciers(resolvePath(fancierFile));
    const int count = fanciers.count();
    for (int i = 1; i <= count; ++i) {
        const StakeAmountBlock block = mise.read(i);
        if (!(block.pigeonsEntered() > 0))
            continue;
        const FancierRecord f = fanciers.read(i);
        const bool east = f.longitudeEastDms() != 0;
        QStringList fields;
        fields << f.fancierName() << applyMask(f.licenceNumber(), QStringLiteral("@@@@@@@ "))
               << applyMask(f.latitudeDms() * 100.0, QStringLiteral("@@@@@@@.@@"))
               << applyMask((east ? f.longitudeEastDms() : f.longitudeWestDms()) * 100.0,
                            QStringLiteral("@@@@@@@.@@ "))
               << (east ? QStringLiteral("E") : QStringLiteral("O"))
               << u' ' + applyMask(block.stakeCount(0), QStringLiteral("@@@@@"));
        for (int k = 1; k < n; ++k) {
            const float v = block.stakeCount(k);
            fields << (recordKinds(lines[k - 1]).testFlag(StakeKind::GameTotal)
                           ? applyMask(v * 100.0f, QStringLiteral("@@@@@.@@"))
                           : applyMask(v, QStringLiteral("@@@@@")));
        }
        fields << applyMask(format2(block.stakeCount(n)), QStringLiteral("@@@@@@@@"));
        out.append(fields.join(u';'));
        for (int k = 0; k <= n; ++k)
            totals[k] += block.stakeCount(k);
    }

    QString last = QStringLiteral(";;;TOTAUX;;");
    for (int k = 0; k < n; ++k)
        last += applyMask(totals[k], QStringLiteral("@@@@@")) + u';';
    last += applyMask(format2(totals[n]), QStringLiteral("@@@@@@@@"));
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
