// Any file, of any length and content, read as each record type: the counts, every
// typed field and a whole-file rewrite behave, and the bytes come back unchanged.
#include "common/fancier_slots.h"
#include "common/record_file.h"
#include "common/records.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

template <class R, class Touch> void readAs(const QByteArray& bytes, const char* name, Touch touch) {
    const QString path = QDir(folder().path()).filePath(QString::fromLatin1(name));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            std::abort();
        f.write(bytes);
    }
    vt::RecordFileOf<R> file(path);
    const int count = file.count();
    if (count != bytes.size() / R::Size)
        std::abort();
    const QList<R> all = file.readAll();
    if (all.size() != count)
        std::abort();
    for (const R& r : all)
        touch(r);
    if (!file.read(count + 1).isZero())
        std::abort();
    file.rewrite(all);
    QFile back(path);
    if (!back.open(QIODevice::ReadOnly) || back.readAll() != bytes.left(qsizetype(count) * R::Size))
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024)
        return 0;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    readAs<vt::ClubRecord>(bytes, "societe.nom", [](const vt::ClubRecord& r) {
        (void)r.clubName(); (void)r.groupNumber(); (void)r.town();
    });
    readAs<vt::FancierRecord>(bytes, "noms.vba", [](const vt::FancierRecord& r) {
        (void)vt::isFreeForReaders(r.fancierName());
        (void)r.latitudeDms(); (void)r.clubNumber();
        for (int c = 0; c <= vt::FancierRecord::MaxRaceCode; c += 37)
            (void)r.raceAmount(c);
    });
    readAs<vt::ReleaseSiteRecord>(bytes, "distgen", [](const vt::ReleaseSiteRecord& r) {
        (void)r.siteName(); (void)r.longitudeWestDms();
    });
    readAs<vt::CalendarRaceRecord>(bytes, "gr1.cal", [](const vt::CalendarRaceRecord& r) {
        (void)r.raceDate(); (void)r.categoryIndex(); (void)r.categoryLetter();
    });
    readAs<vt::RaceBaseRecord>(bytes, "bases.101", [](const vt::RaceBaseRecord& r) {
        (void)r.calendarDateLong(); (void)r.levelIndex(); (void)r.stakeSheet();
    });
    readAs<vt::StakeTypeRecord>(bytes, "basejeu.101", [](const vt::StakeTypeRecord& r) {
        (void)r.stakeLabel(); (void)r.unitValue(); (void)r.count();
    });
    readAs<vt::StakeAmountBlock>(bytes, "mise.101", [](const vt::StakeAmountBlock& r) {
        for (int k = 0; k <= vt::StakeAmountBlock::MaxLine; ++k)
            (void)r.stakeCount(k);
    });
    readAs<vt::RaceRecapRecord>(bytes, "recap.101", [](const vt::RaceRecapRecord& r) {
        (void)r.fancierCount(); (void)r.total(100);
    });
    readAs<vt::SheetNameRecord>(bytes, "fichenl.jeu", [](const vt::SheetNameRecord& r) {
        (void)r.sheetName();
    });
    return 0;
}
