#include "fancier_list.h"

#include "common/damage.h"
#include "common/errors.h"
#include "common/fancier_slots.h"
#include "common/numbers.h"
#include "common/record_file.h"
#include "common/session.h"
#include "common/sorting.h"
#include "common/text.h"

#include <algorithm>

namespace vt {

QString fancierListItem(const QString& name, const QString& clubName, const QString& town,
                        int recordNo) {
    return padRight(name, 23) + Left(clubName + Space(20), 20) + padRight(town, 28) +
           Right(Space(5) + strNumber(recordNo), 5);
}

int fancierClubNo(const FancierRecord& record) {
    const int k = static_cast<int>(val(record.clubNumber()));
    return (k < 1 || k > session().ClubCount) ? 1 : k;
}

QString fancierListItem(const FancierRecord& record, int recordNo) {
    const QStringList& names = session().ClubNames;
    const int k = fancierClubNo(record);
    const QString club = k < names.size() ? trim(names[k]) : QString();
    return fancierListItem(record.fancierName(), club, record.town(), recordNo);
}

int recordNoOfLine(const QString& line) {
    return static_cast<int>(val(Right(line, 5)));
}

QString clubListLine(const QString& clubName, int clubNumber) {
    return Left(clubName + Space(20), 20) + Left(strNumber(clubNumber) + Space(20), 6);
}

int clubNoOfLine(const QString& line) {
    return static_cast<int>(val(Right(line, 6)));
}

QStringList clubListLines() {
    const Session& s = session();
    QStringList lines;
    for (int i = 1; i <= s.ClubCount && i < s.ClubNames.size(); ++i) {
        if (isBlank(s.ClubNames[i]))
            continue;
        const int number = i < s.ClubGroupNumbers.size() ? s.ClubGroupNumbers[i] : i;
        lines.append(clubListLine(s.ClubNames[i], number));
    }
    return lines;
}

namespace {

enum class FixKind { Capitalise, WholeWord, WordEnd, ValereOnly };

struct FirstNameFix {
    QStringView found;
    QStringView replacement; // as long as `found`
    FixKind kind;
};

// In the order the loader tries them.
const FirstNameFix firstNameFixes[] = {
    {u"Leon", u"Léon", FixKind::WholeWord},      {u"michel", u"Michel", FixKind::Capitalise},
    {u"phil", u"Phil", FixKind::Capitalise},     {u"alai", u"Alai", FixKind::Capitalise},
    {u"claude", u"Claude", FixKind::Capitalise}, {u"marc", u"Marc", FixKind::Capitalise},
    {u"luc", u"Luc", FixKind::Capitalise},       {u"marie", u"Marie", FixKind::Capitalise},
    {u"Jerome", u"Jérôme", FixKind::WholeWord},  {u"Andre", u"André", FixKind::WholeWord},
    {u"erard", u"érard", FixKind::WordEnd},      {u"paul", u"Paul", FixKind::Capitalise},
    {u"Rene", u"René", FixKind::WholeWord},      {u"Vale", u"Valè", FixKind::ValereOnly},
    {u"loui", u"Loui", FixKind::Capitalise},     {u"Herve", u"Hervé", FixKind::WholeWord},
    {u"pier", u"Pier", FixKind::Capitalise},     {u"fran", u"Fran", FixKind::Capitalise},
};

bool letterAt(const QString& s, qsizetype i) {
    return i >= 0 && i < s.size() && s[i].isLetter();
}

// Whether the pair, found at index `at` of the name, gives the first name it stands for.
bool fixApplies(const QString& name, qsizetype at, qsizetype length, FixKind kind) {
    const bool wordStart = !letterAt(name, at - 1);
    const bool wordEnd = !letterAt(name, at + length);
    switch (kind) {
    case FixKind::Capitalise:
        return wordStart;
    case FixKind::WholeWord:
        return wordStart && wordEnd;
    case FixKind::WordEnd:
        return wordEnd;
    case FixKind::ValereOnly:
        return name.mid(at + length, 2) == u"re" && !letterAt(name, at + length + 2);
    }
    return false;
}

} // namespace

QString correctFirstNames(const QString& nameIn) {
    QString name = padRight(nameIn, 23);
    // The loader corrects every name of the file: the pairs are compared in place, with no
    // text made for a position that does not match.
    for (qsizetype j = 5; j <= 19; ++j) { // positions 6 to 20, counted from 1
        for (const FirstNameFix& fix : firstNameFixes) {
            const qsizetype length = fix.found.size();
            if (j + length > name.size() || name[j] != fix.found[0] ||
                QStringView(name).mid(j, length) != fix.found)
                continue;
            if (fixApplies(name, j, length, fix.kind))
                name.replace(j, length, fix.replacement.data(), fix.replacement.size());
        }
    }
    return name;
}

bool isZeroPostCode(const QString& postCode) {
    for (QChar c : postCode)
        if (c != u'0' && c != u' ')
            return false;
    return true;
}

void repairListedRecord(FancierRecord& r) {
    r.setFancierName(correctFirstNames(trim(r.fancierName())));
    if (isZeroPostCode(r.postCode()) && r.postCode() != Space(7))
        r.setPostCode(QString());
    const QString address = r.addressLine();
    if (address.startsWith(QStringLiteral("N°")))
        r.setAddressLine(Mid(address, 3));
    if (r.latitudeDms() < 3000) {
        r.setLatitudeDms(0);
        r.setLongitudeEastDms(0);
        r.setLongitudeWestDms(0);
    }
}

FancierListLoad loadFancierList(ListMode mode, int chosenClub) {
    FancierListLoad out;
    if (mode == ListMode::None)
        return out;
    const Session& s = session();
    try {
        RecordFileOf<FancierRecord> season(s.FancierFilePath);
        // A cut last record is noted and left out of the list.
        checkWholeRecords(season);
        // The club file is read once for the whole list; a club past its end reads as a
        // zero record, as a read of that record would.
        const QList<ClubRecord> clubs = RecordFileOf<ClubRecord>(s.ClubFilePath).readAll();
        const auto clubRecord = [&clubs](int n) {
            return n >= 1 && n <= clubs.size() ? clubs[n - 1] : ClubRecord();
        };
        const QList<FancierRecord> records = season.readAll();
        // The mended records are written back after the pass, consecutive records in one
        // piece, in file order.
        QList<RecordWrite> mends;
        for (int i = 1; i <= records.size(); ++i) {
            FancierRecord r = records[i - 1];
            const FancierRecord onDisk = r;
            auto writeBack = [&] {
                if (r == onDisk)
                    return;
                if (!mends.isEmpty() && mends.last().recordNo == i)
                    mends.last().bytes = r.bytes();
                else
                    mends.append({i, r.bytes()});
            };
            if (r.statusFlag() < 0 || r.statusFlag() > 1) {
                r.setStatusFlag(0);
                writeBack();
            }
            // A name that does not begin with A to Z is a free slot for every reader;
            // it is neither listed nor erased.
            if (isFreeForReaders(r.fancierName()))
                continue;
            const int k = static_cast<int>(val(r.clubNumber()));
            const int club = (k < 1 || k > s.ClubCount) ? 1 : k;
            if (club != k)
                r.setClubNumber(QStringLiteral("1"));
            const bool listed =
                mode == ListMode::All || (mode == ListMode::OneClub && club == chosenClub);
            if (!listed)
                continue; // the club repair is not written for a fancier not listed
            r.setClubGroupNumber(clubRecord(club).groupNumber());
            r.setClubCode(club < s.ClubCodes.size() ? s.ClubCodes[club] : QString());
            repairListedRecord(r);
            writeBack();
            out.lines.append(fancierListItem(r, i));
        }
        writeRecordsInPlace(season, mends, out.written);
    } catch (const Error& e) {
        out.error = e.message();
    }
    std::sort(out.lines.begin(), out.lines.end(), listTextLess);
    return out;
}

QString memoFilePath() {
    return resolvePath(session().FancierFilePath + QStringLiteral("r"));
}

void writeMemoFile(const QStringList& listLines) {
    const RecordFileOf<FancierRecord> season(session().FancierFilePath);
    QList<FancierRecord> saved;
    for (const QString& line : listLines) {
        const int n = recordNoOfLine(line);
        if (n < 1)
            continue;
        const FancierRecord r = season.read(n);
        if (val(Left(r.lastSaveYear(), 2)) > 0)
            saved.append(r);
    }
    RecordFileOf<FancierRecord>(memoFilePath()).rewrite(saved);
}

} // namespace vt
