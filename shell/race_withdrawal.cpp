#include "race_withdrawal.h"

#include "calendar.h"
#include "common/errors.h"
#include "common/record_file.h"
#include "common/records.h"
#include "common/text.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace vt {

WithdrawalResult withdrawRace(Dialogs& dialogs, const QString& calendarPath,
                              const QString& folder, int position, const QString& lineText,
                              const std::function<bool()>& beforeEmptying) {
    WithdrawalResult result;
    if (position < 1 || position > MaxCalendarRaces)
        return result;
    const QString number = raceNumberText(position);
    QString described = Mid(lineText, 5);
    if (trim(described).isEmpty())
        described = QStringLiteral("Numéro ") + number;

    // Asked before anything is written: Cancel, or Esc, leaves the race as it was.
    MessageRequest question;
    question.text = QStringLiteral("Suppression du concours ") + described + u'\n' +
                    QStringLiteral("Pour mettre à zéro les fichiers de ce concours cliquez sur OUI");
    question.title = QStringLiteral("Vidage d'un concours");
    question.buttons = MsgButtons::YesNoCancel;
    question.icon = MsgIcon::Question;
    question.defaultButton = MsgAnswer::Yes;
    const MsgAnswer answer = dialogs.message(question);
    if (answer != MsgAnswer::Yes && answer != MsgAnswer::No)
        return result;
    if (answer == MsgAnswer::Yes && beforeEmptying && !beforeEmptying())
        return result;

    // The race leaves the calendar on either answer.
    RecordFileOf<CalendarRaceRecord> calendar(calendarPath);
    calendar.write(position, CalendarRaceRecord());
    WrittenFiles written;
    written.add(calendar.path());
    result.done = true;
    result.freeLine = CalendarFreeLine(position, true);
    if (answer != MsgAnswer::Yes)
        return result;
    result.confirmed = true;

    QStringList codes;
    for (int level = 1; level <= 4; ++level)
        codes.append(QString::number(level * 100 + position));

    // The amounts the fanciers of this folder owe for the race, at its four levels.
    const QString fancierPath = resolveFile(folder, QStringLiteral("noms.vba"));
    if (QFileInfo::exists(fancierPath)) {
        try {
            RecordFileOf<FancierRecord> fanciers(fancierPath);
            const QList<FancierRecord> records = fanciers.readAll();
            QList<std::pair<int, FancierRecord>> cleared;
            for (int f = 0; f < records.size(); ++f) {
                FancierRecord r = records[f];
                for (const QString& code : codes)
                    r.setRaceAmount(code.toInt(), 0);
                if (!(r == records[f]))
                    cleared.append({f + 1, r});
            }
            // One rewrite of the whole file: an interruption leaves every amount cleared or
            // none, never some fanciers cleared and others not.
            if (!cleared.isEmpty()) {
                fanciers.writeRecords(cleared);
                written.add(fanciers.path());
            }
        } catch (const Error& e) {
            result.failures.append(e.message());
        }
    }

    // Every non-empty file named "<anything>.<code>"; empty files stay.
    const QFileInfoList entries =
        QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name | QDir::IgnoreCase);
    for (const QFileInfo& info : entries) {
        const QString name = info.fileName();
        const qsizetype dot = name.lastIndexOf(u'.');
        if (dot < 0 || !codes.contains(name.mid(dot + 1)) || info.size() == 0)
            continue;
        if (QFile::remove(info.absoluteFilePath()))
            result.deleted.append(name);
        else
            result.failures.append(name);
    }

    if (!result.failures.isEmpty()) {
        MessageRequest failed;
        failed.text = QStringLiteral("Le concours n'a pas été entièrement vidé :\n") +
                      result.failures.join(u'\n') + written.note();
        if (!result.deleted.isEmpty()) {
            QStringList deletedPaths;
            for (const QString& name : result.deleted)
                deletedPaths.append(
                    QDir::toNativeSeparators(QDir(folder).absoluteFilePath(name)));
            failed.text += QStringLiteral("\nFichiers supprimés : %1.")
                               .arg(deletedPaths.join(QStringLiteral(", ")));
        }
        failed.title = QStringLiteral("Vidage d'un concours");
        failed.icon = MsgIcon::Exclamation;
        dialogs.message(failed);
    }
    return result;
}

QList<int> chosenRacesAt(const Session& s, const QString& folder, int position) {
    QList<int> codes;
    const QString season = QFileInfo(s.YearFolder).canonicalFilePath();
    if (season.isEmpty() || QFileInfo(folder).canonicalFilePath() != season)
        return codes;
    for (int code : s.chosenRaces())
        if (code % 100 == position)
            codes.append(code);
    return codes;
}

void leaveChosenRaces(Session& s, const QList<int>& codes) {
    int to = 1;
    for (int from = 1; from <= MaxChosenRaces; ++from) {
        const int16_t code = s.ChosenRaceCodes[from];
        if (code == 0)
            break;
        if (codes.contains(code))
            continue;
        s.ChosenRaceCodes[to] = code;
        s.ChosenRaceStakeFiles[to] = s.ChosenRaceStakeFiles[from];
        ++to;
    }
    for (; to <= MaxChosenRaces; ++to) {
        s.ChosenRaceCodes[to] = 0;
        s.ChosenRaceStakeFiles[to].clear();
    }
}

} // namespace vt
