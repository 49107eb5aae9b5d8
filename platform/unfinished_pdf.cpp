#include "platform/unfinished_pdf.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QSet>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <sys/file.h>
#endif

namespace vt {

namespace {

// An unfinished file older than this with no lock on it belongs to no live program.
constexpr int DeadAfterSeconds = 10;
constexpr int MaxNumberedNames = 9999;
// The ending of an unfinished file's name, after ".<run> <minute>.XXXXXX" (files left by
// earlier versions, ".<run> <minute>", end the same way).
const QString Unfinished = QStringLiteral(".pdf.part");

// The unfinished files this process has open. Another open of the same file from this process
// would share its lock on some network file systems, so this process never takes its own
// unfinished files for dead ones.
QMutex ownLock;
QSet<QString> ownFiles;

class UnfinishedPdf : public QTemporaryFile {
public:
    explicit UnfinishedPdf(const QString& pattern) : QTemporaryFile(pattern) {}
    ~UnfinishedPdf() override { forget(); }
    void remember() {
        QMutexLocker lock(&ownLock);
        m_path = QFileInfo(fileName()).absoluteFilePath();
        ownFiles.insert(m_path);
    }
    void forget() {
        QMutexLocker lock(&ownLock);
        ownFiles.remove(m_path);
    }

private:
    QString m_path;
};

bool ownFile(const QString& path) {
    QMutexLocker lock(&ownLock);
    return ownFiles.contains(QFileInfo(path).absoluteFilePath());
}

// Holds a lock on the open file for as long as it stays open; the system drops it when
// the program ends, killed or not. False when another holds it (`wait`: wait for it).
bool lockOpenFile(QFile& file, bool wait) {
#ifdef Q_OS_UNIX
    return ::flock(file.handle(), LOCK_EX | (wait ? 0 : LOCK_NB)) == 0;
#else
    // Not tried elsewhere: no file is locked, and none is ever taken for a dead one.
    Q_UNUSED(file);
    Q_UNUSED(wait);
    return false;
#endif
}

QString numberedName(const QString& base, int n) {
    return n == 1 ? base + QStringLiteral(".pdf") : QStringLiteral("%1 (%2).pdf").arg(base).arg(n);
}

} // namespace

std::unique_ptr<QFile> openUnfinishedPdf(const QString& folder, const QString& base) {
    auto file = std::make_unique<UnfinishedPdf>(
        QDir(folder).filePath(QLatin1Char('.') + base + QStringLiteral(".XXXXXX") + Unfinished));
    if (!file->open())
        return nullptr;
    file->remember();
    // A file system without locks still prints: its unfinished files are only never taken
    // for dead ones.
    lockOpenFile(*file, true);
    return file;
}

QString keepUnfinishedPdf(QFile& file, const QString& folder, const QString& base) {
    file.close();
    const QDir dir(folder);
    for (int n = 1; n <= MaxNumberedNames; ++n) {
        const QString path = dir.filePath(numberedName(base, n));
        if (QFileInfo::exists(path))
            continue;
        // The rename refuses to replace a file: a name another program took in the
        // meantime is passed over. (A temporary file's own rename never falls back to a
        // copy, which could write over such a file.)
        auto* temporary = dynamic_cast<QTemporaryFile*>(&file);
        if (temporary ? temporary->rename(path) : file.rename(path)) {
            if (temporary)
                temporary->setAutoRemove(false);
            return path;
        }
        if (!QFileInfo::exists(path))
            return QString();
    }
    return QString();
}

void removeAbandonedPdfs(const QString& folder) {
    const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(-DeadAfterSeconds);
    const QFileInfoList unfinished =
        QDir(folder).entryInfoList({QStringLiteral(".*") + Unfinished}, QDir::Files | QDir::Hidden);
    for (const QFileInfo& info : unfinished) {
        if (info.lastModified().toUTC() > written || ownFile(info.filePath()))
            continue;
        QFile file(info.filePath());
        if (!file.open(QIODevice::ReadOnly))
            continue;
        // Removed while locked, so that no program can take it up in between.
        if (lockOpenFile(file, false))
            QFile::remove(info.filePath());
        file.close();
    }
}

} // namespace vt
