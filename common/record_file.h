#pragma once
// Fixed-length record files: records numbered from 1, count = length / record length,
// a record read past the end is all zeros, a whole-file rewrite goes through a temporary
// file renamed over the old one so a crash never leaves a half-written file.
#include "errors.h"
#include "record.h"

#include <QFileDevice>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <utility>

namespace vt {

// Why a write failed, for a message: "Aucun espace disponible sur le disque" when the disk
// is full, else the system's text.
QString writeErrorText(const QFileDevice& file);

// The path of an existing file in `folder` whose name matches `name` ignoring case,
// or folder/name when there is none (new files take the name as given).
QString resolveFile(const QString& folder, const QString& name);
// The same for a full path: its folder is searched for the file name ignoring case.
QString resolvePath(const QString& path);

// Creates the folder (and its parents) when missing; an existing folder is no error.
// Throws FileError when it cannot be made.
void ensureFolder(const QString& path);

class RecordFile {
public:
    // The path is resolved ignoring case (NOMS.VBA answers for noms.vba).
    RecordFile(const QString& path, int recordLength);

    const QString& path() const { return m_path; }
    int recordLength() const { return m_length; }
    bool exists() const;
    int count() const; // whole records only; a missing file counts 0

    // Creates the file empty when it is missing; an existing file is left as it is. Throws
    // FileError when it cannot be created.
    void create();

    QByteArray readRaw(int n) const;   // zero record past the end
    QList<QByteArray> readAllRaw() const;
    // Every whole record back to back in one block (a partial last record is left out);
    // empty when the file is missing.
    QByteArray readAllBytes() const;
    // Writes record n in place; records between the end and n are first written as zeros.
    void writeRaw(int n, const QByteArray& bytes);
    // The same for records first, first + 1 ... given back to back in one block, written in
    // one piece; the block must hold whole records.
    void writeRecordsAt(int first, const QByteArray& records);
    // Replaces the whole file by exactly these records (temporary file, then rename).
    void rewriteRaw(const QList<QByteArray>& records);
    // Changes several records at once: the file is rewritten whole through a temporary file,
    // so that a crash leaves it all old or all new. The bytes are those that writing each
    // record in place would give (records past the end written as zeros first; the other
    // records and any bytes after the last whole record kept).
    void writeRawRecords(const QList<std::pair<int, QByteArray>>& records);
    // Replaces the whole file by records given back to back in one block, written in one
    // piece (temporary file, then rename); the block must hold whole records.
    void rewriteAllBytes(const QByteArray& records);

    // Deletes the file; a missing file is no error.
    void remove();

    // Test hook: when set, a rewrite calls it for each record before writing and fails
    // when it returns true, as a full disk or a crash would; the old file must stay whole.
    static std::function<bool(int recordIndex)> rewriteFailureForTests;
    // Test hook: when set, every write of a file (a record in place, a rewrite, a whole
    // file) asks it first and fails, writing nothing, when it returns true, as a disk that
    // fills half-way through a save would.
    static std::function<bool(const QString& path)> writeFailureForTests;

private:
    QString m_path;
    int m_length;
};

template <class R> class RecordFileOf : public RecordFile {
public:
    explicit RecordFileOf(const QString& path) : RecordFile(path, R::Size) {}
    R read(int n) const { return R(readRaw(n)); }
    QList<R> readAll() const {
        QList<R> out;
        for (const QByteArray& b : readAllRaw())
            out.append(R(b));
        return out;
    }
    void write(int n, const R& r) { writeRaw(n, r.bytes()); }
    void writeRecords(const QList<std::pair<int, R>>& records) {
        QList<std::pair<int, QByteArray>> raw;
        raw.reserve(records.size());
        for (const auto& [n, r] : records)
            raw.append({n, r.bytes()});
        writeRawRecords(raw);
    }
    void rewrite(const QList<R>& records) {
        QList<QByteArray> raw;
        raw.reserve(records.size());
        for (const R& r : records)
            raw.append(r.bytes());
        rewriteRaw(raw);
    }
};

// A record file read whole once, for a reader that visits many of its records: the same
// answers as RecordFile::readRaw (zeros past the end) without opening the file per record.
class LoadedRecords {
public:
    explicit LoadedRecords(const RecordFile& file);
    int count() const { return static_cast<int>(m_bytes.size() / m_length); }
    QByteArray raw(int n) const; // throws Error below 1, like RecordFile::readRaw
    template <class R> R read(int n) const { return R(raw(n)); }

private:
    QString m_path;
    int m_length;
    QByteArray m_bytes;
};

// A record to write in place: its number and its bytes.
struct RecordWrite {
    int recordNo = 0;
    QByteArray bytes;
};
// Writes the records in place, in the order given (ascending record numbers); each run of
// consecutive numbers goes in one piece. `written` gets the numbers of each piece once it
// is written. Throws FileError at the first piece that fails (later ones are not written).
void writeRecordsInPlace(RecordFile& file, const QList<RecordWrite>& records, QList<int>& written);

// Writes a whole file of bytes through a temporary file and a rename.
void writeWholeFile(const QString& path, const QByteArray& bytes);

// The files a save that writes several files has written so far, so that a failure
// half-way says exactly what was written before it.
class WrittenFiles {
public:
    void add(const QString& path);
    // Empty when nothing was written; otherwise a line naming every file written.
    QString note() const;

private:
    QStringList m_paths;
};

} // namespace vt
