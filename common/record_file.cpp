#include "record_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStorageInfo>

#include <algorithm>

#include <dirent.h>

namespace vt {

std::function<bool(int)> RecordFile::rewriteFailureForTests;
std::function<bool(const QString&)> RecordFile::writeFailureForTests;

namespace {

void failForTests(const QString& path) {
    if (RecordFile::writeFailureForTests && RecordFile::writeFailureForTests(path))
        throw FileError(QStringLiteral("Impossible d'écrire le fichier %1 : le disque est plein.")
                            .arg(QDir::toNativeSeparators(path)));
}

} // namespace

QString writeErrorText(const QFileDevice& file) {
    // A full disk says so in plain words, whatever the system's own text is: a write that
    // stops short on a full disk may leave no error code of its own ("Erreur inconnue").
    const QStorageInfo volume(QFileInfo(file.fileName()).absolutePath());
    if (file.error() == QFileDevice::ResourceError ||
        (volume.isValid() && volume.bytesAvailable() < 4096))
        return QStringLiteral("Aucun espace disponible sur le disque");
    return file.errorString();
}

namespace {

// Writes all the bytes; a short write is tried again for the rest, so that the reason it
// stopped (a full disk) is the file's error.
bool writeAll(QFile& f, const QByteArray& bytes) {
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = f.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

QString resolveFile(const QString& folder, const QString& name) {
    QDir dir(folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo::exists(exact))
        return exact;
    // The folder is walked unsorted and only until the name is met: a missing file is
    // looked for often (a race's recap before it is stored), in folders of many files, so
    // each entry's name is compared before anything else is asked of it. Folders (and
    // links to them) are not files.
    DIR* d = ::opendir(QFile::encodeName(folder).constData());
    if (!d)
        return exact;
    QString found;
    while (const dirent* e = ::readdir(d)) {
        const QString entry = QFile::decodeName(e->d_name);
        if (entry.compare(name, Qt::CaseInsensitive) != 0)
            continue;
        const QString path = dir.filePath(entry);
        if (e->d_type == DT_DIR || (e->d_type != DT_REG && QFileInfo(path).isDir()))
            continue;
        found = path;
        break;
    }
    ::closedir(d);
    return found.isEmpty() ? exact : found;
}

QString resolvePath(const QString& path) {
    QFileInfo info(path);
    return resolveFile(info.absolutePath(), info.fileName());
}

void ensureFolder(const QString& path) {
    if (QFileInfo(path).isDir())
        return;
    if (!QDir().mkpath(path))
        throw FileError(QStringLiteral("Impossible de créer le dossier %1.").arg(path));
}

RecordFile::RecordFile(const QString& path, int recordLength)
    : m_path(resolvePath(path)), m_length(recordLength) {}

bool RecordFile::exists() const { return QFileInfo::exists(m_path); }

int RecordFile::count() const {
    QFileInfo info(m_path);
    if (!info.exists())
        return 0;
    return static_cast<int>(info.size() / m_length);
}

void RecordFile::create() {
    if (exists())
        return;
    QFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Impossible de créer le fichier %1 : %2")
                            .arg(m_path, f.errorString()));
}

QByteArray RecordFile::readRaw(int n) const {
    if (n < 1)
        throw Error(QStringLiteral("Numéro d'enregistrement %1 invalide dans %2.").arg(n).arg(m_path));
    if (n > count())
        return QByteArray(m_length, '\0');
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw FileError(QStringLiteral("Impossible de lire le fichier %1 : %2")
                            .arg(m_path, f.errorString()));
    if (!f.seek(qint64(n - 1) * m_length))
        throw FileError(QStringLiteral("Impossible de lire le fichier %1.").arg(m_path));
    QByteArray b = f.read(m_length);
    if (b.size() != m_length)
        throw FileError(QStringLiteral("Impossible de lire le fichier %1.").arg(m_path));
    return b;
}

QByteArray RecordFile::readAllBytes() const {
    if (!exists())
        return {};
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        throw FileError(QStringLiteral("Impossible de lire le fichier %1 : %2")
                            .arg(m_path, f.errorString()));
    QByteArray all = f.readAll();
    all.truncate(all.size() / m_length * m_length);
    return all;
}

QList<QByteArray> RecordFile::readAllRaw() const {
    QList<QByteArray> out;
    const QByteArray all = readAllBytes();
    const int n = static_cast<int>(all.size() / m_length);
    out.reserve(n);
    for (int i = 0; i < n; ++i)
        out.append(all.mid(qsizetype(i) * m_length, m_length));
    return out;
}

void RecordFile::writeRaw(int n, const QByteArray& bytes) {
    if (bytes.size() != m_length)
        throw Error(QStringLiteral("Longueur d'enregistrement invalide pour %1.").arg(m_path));
    writeRecordsAt(n, bytes);
}

void RecordFile::writeRecordsAt(int n, const QByteArray& bytes) {
    if (n < 1)
        throw Error(QStringLiteral("Numéro d'enregistrement %1 invalide dans %2.").arg(n).arg(m_path));
    if (bytes.size() % m_length != 0)
        throw Error(QStringLiteral("Longueur d'enregistrement invalide pour %1.").arg(m_path));
    failForTests(m_path);
    QFile f(m_path);
    const bool existed = f.exists();
    if (!f.open(QIODevice::ReadWrite | QIODevice::Unbuffered))
        throw FileError(QStringLiteral("Impossible d'écrire dans le fichier %1 : %2")
                            .arg(m_path, f.errorString()));
    const qint64 oldSize = f.size();
    const qint64 whole = (oldSize / m_length) * m_length;
    const qint64 offset = qint64(n - 1) * m_length;
    // The bytes this write covers inside the old file, put back if it fails half-way.
    QByteArray covered;
    if (offset < oldSize && f.seek(offset))
        covered = f.read(std::min<qint64>(bytes.size(), oldSize - offset));
    bool ok = true;
    if (offset > whole) {
        // The records between the last whole record and n are written as zero records.
        ok = f.seek(whole) && writeAll(f, QByteArray(offset - whole, '\0'));
    }
    ok = ok && f.seek(offset) && writeAll(f, bytes);
    if (!ok) {
        const QString error = writeErrorText(f);
        // The file is left as it was: a file this write created goes, an old one gets its
        // bytes and its length back, so no fragment of a record stays at its end.
        if (!existed) {
            f.close();
            QFile::remove(m_path);
        } else {
            if (!covered.isEmpty() && f.seek(offset))
                f.write(covered);
            f.resize(oldSize);
        }
        throw FileError(
            QStringLiteral("Impossible d'écrire dans le fichier %1 : %2").arg(m_path, error));
    }
}

namespace {

[[noreturn]] void throwWriteError(QSaveFile& f, const QString& path) {
    const QString reason = writeErrorText(f);
    f.cancelWriting();
    throw FileError(QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, reason));
}

// Flushes and renames the temporary file over the old one. The records wait in the file's
// buffer: a disk that is full shows only when they are flushed, and the commit must not
// rename a short file over the old one.
void commitRecords(QSaveFile& f, const QString& path) {
    if (!f.flush() || f.error() != QFileDevice::NoError)
        throwWriteError(f, path);
    if (!f.commit())
        throw FileError(
            QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, f.errorString()));
}

} // namespace

void RecordFile::rewriteRaw(const QList<QByteArray>& records) {
    QByteArray all;
    all.reserve(qsizetype(records.size()) * m_length);
    for (const QByteArray& r : records) {
        if (r.size() != m_length)
            throw Error(QStringLiteral("Longueur d'enregistrement invalide pour %1.").arg(m_path));
        all.append(r);
    }
    rewriteAllBytes(all);
}

void RecordFile::rewriteAllBytes(const QByteArray& records) {
    if (records.size() % m_length != 0)
        throw Error(QStringLiteral("Longueur d'enregistrement invalide pour %1.").arg(m_path));
    failForTests(m_path);
    const int n = static_cast<int>(records.size() / m_length);
    for (int i = 0; i < n && rewriteFailureForTests; ++i)
        if (rewriteFailureForTests(i))
            throw FileError(QStringLiteral("Écriture interrompue du fichier %1.").arg(m_path));
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly) || f.write(records) != records.size())
        throwWriteError(f, m_path);
    commitRecords(f, m_path);
}

void RecordFile::writeRawRecords(const QList<std::pair<int, QByteArray>>& records) {
    QByteArray all;
    if (exists()) {
        QFile f(m_path);
        if (!f.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
            throw FileError(QStringLiteral("Impossible de lire le fichier %1 : %2")
                                .arg(m_path, f.errorString()));
        all = f.readAll();
    }
    for (const auto& [n, bytes] : records) {
        if (n < 1)
            throw Error(
                QStringLiteral("Numéro d'enregistrement %1 invalide dans %2.").arg(n).arg(m_path));
        if (bytes.size() != m_length)
            throw Error(QStringLiteral("Longueur d'enregistrement invalide pour %1.").arg(m_path));
        const qsizetype offset = qsizetype(n - 1) * m_length;
        const qsizetype whole = (all.size() / m_length) * m_length;
        if (offset > whole) {
            all.truncate(whole);
            all.append(QByteArray(offset - whole, '\0'));
        }
        if (offset + m_length > all.size()) {
            all.truncate(offset);
            all.append(bytes);
        } else {
            all.replace(offset, m_length, bytes);
        }
    }
    writeWholeFile(m_path, all);
}

void RecordFile::remove() {
    if (exists() && !QFile::remove(m_path))
        throw FileError(QStringLiteral("Impossible de supprimer le fichier %1.").arg(m_path));
}

LoadedRecords::LoadedRecords(const RecordFile& file)
    : m_path(file.path()), m_length(file.recordLength()), m_bytes(file.readAllBytes()) {}

QByteArray LoadedRecords::raw(int n) const {
    if (n < 1)
        throw Error(
            QStringLiteral("Numéro d'enregistrement %1 invalide dans %2.").arg(n).arg(m_path));
    if (n > count())
        return QByteArray(m_length, '\0');
    return m_bytes.mid(qsizetype(n - 1) * m_length, m_length);
}

void writeRecordsInPlace(RecordFile& file, const QList<RecordWrite>& records, QList<int>& written) {
    for (qsizetype i = 0; i < records.size();) {
        qsizetype end = i + 1;
        while (end < records.size() && records[end].recordNo == records[end - 1].recordNo + 1)
            ++end;
        QByteArray piece;
        for (qsizetype k = i; k < end; ++k)
            piece.append(records[k].bytes);
        file.writeRecordsAt(records[i].recordNo, piece);
        for (qsizetype k = i; k < end; ++k)
            written.append(records[k].recordNo);
        i = end;
    }
}

void writeWholeFile(const QString& path, const QByteArray& bytes) {
    failForTests(resolvePath(path));
    QSaveFile f(resolvePath(path));
    // The flush is checked before the commit: a full disk must not rename a short file
    // over the old one.
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.flush() ||
        f.error() != QFileDevice::NoError) {
        const QString reason = writeErrorText(f);
        f.cancelWriting();
        throw FileError(QStringLiteral("Impossible d'écrire le fichier %1 : %2").arg(path, reason));
    }
    if (!f.commit())
        throw FileError(QStringLiteral("Impossible d'écrire le fichier %1 : %2")
                            .arg(path, f.errorString()));
}

void WrittenFiles::add(const QString& path) {
    const QString shown = QDir::toNativeSeparators(path);
    if (!m_paths.contains(shown))
        m_paths.append(shown);
}

QString WrittenFiles::note() const {
    if (m_paths.isEmpty())
        return {};
    return QStringLiteral("\nDéjà écrit avant l'erreur : %1.")
        .arg(m_paths.join(QStringLiteral(", ")));
}

} // namespace vt
