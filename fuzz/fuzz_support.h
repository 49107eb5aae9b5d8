#pragma once
// What the fuzz targets share: a scratch folder in memory, whole-file put and get, a check
// that aborts (so libFuzzer keeps the input), the input cut into parts, and dialogs that
// answer from the input and then give up, so that no question loop can run forever.
#include "common/damage.h"
#include "common/errors.h"
#include "platform/dialogs.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QtGlobal>
#include <QList>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

namespace fuzz {

// In memory where the system offers it: the readers write back and rename files, and a
// disk's synchronous work would make each run a hundred times slower.
inline QTemporaryDir& folder() {
    static QTemporaryDir dir(QDir(QStringLiteral("/dev/shm")).exists()
                                 ? QStringLiteral("/dev/shm/vt_fuzz_XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/vt_fuzz_XXXXXX"));
    return dir;
}

inline QString pathOf(const QString& name) {
    return QDir(folder().path()).filePath(name);
}

inline void put(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        std::abort();
    f.write(bytes);
}

inline QByteArray get(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly | QIODevice::Unbuffered) ? f.readAll() : QByteArray();
}

// What a folder holds, for a check that an operation wrote nothing: each file below it by
// path relative to the folder, with its size, inode and modification time. The snapshot
// taken before the operation first sets each file's modification time ten seconds back:
// any write after it stamps the current time, and a file renamed over another has a new
// inode, so two equal snapshots mean no file was created, removed, written or replaced,
// without reading any file's bytes. (Without the step back, a write in the same tick of
// the system clock as the file's last write would leave its time as it was.)
struct FileState {
    long long size = 0, inode = 0, modified = 0;
    bool operator==(const FileState&) const = default;
};
using Snapshot = std::map<std::string, FileState>;

inline void snapshotInto(const std::string& root, const std::string& relative, bool stepBack,
                         Snapshot& out) {
    DIR* dir = ::opendir((root + relative).c_str());
    if (!dir)
        return;
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = relative + "/" + name;
        const std::string full = root + path;
        struct stat st;
        if (::lstat(full.c_str(), &st) != 0)
            continue;
        if (S_ISDIR(st.st_mode)) {
            out[path + "/"] = {0, (long long)st.st_ino, 0};
            snapshotInto(root, path, stepBack, out);
            continue;
        }
        if (stepBack && S_ISREG(st.st_mode)) {
            st.st_mtim.tv_sec -= 10;
            const timespec times[2] = {{0, UTIME_OMIT}, st.st_mtim};
            if (::utimensat(AT_FDCWD, full.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0)
                std::abort();
        }
        out[path] = {st.st_size, (long long)st.st_ino,
                     st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec};
    }
    ::closedir(dir);
}

// Before the operation: every file's time stepped back, then read.
inline Snapshot snapshotBefore(const QString& root) {
    Snapshot out;
    snapshotInto(root.toStdString(), std::string(), true, out);
    return out;
}

// After it: read as it is.
inline Snapshot snapshot(const QString& root) {
    Snapshot out;
    snapshotInto(root.toStdString(), std::string(), false, out);
    return out;
}

// Empties the scratch folder between runs, so that no run reads what another left.
inline void clearFolder() {
    QDir dir(folder().path());
    for (const QString& e : dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden))
        QFileInfo(dir.filePath(e)).isDir() ? (void)QDir(dir.filePath(e)).removeRecursively()
                                           : (void)dir.remove(e);
}

// What slows a run most under the address sanitizer is its bookkeeping of allocations:
// a freed block held back for 256 MB before reuse makes every run touch fresh pages, each
// block's first 4 KB are filled, and every allocation's stack is walked and stored. A
// small quarantine, no fill and the two innermost frames of each allocation keep every
// check and make the targets several times faster. A use after free found so is reported
// with its own full stack; for the allocation's and the free's whole stacks, replay the
// input with ASAN_OPTIONS=malloc_context_size=30.
extern "C" __attribute__((used)) const char* __asan_default_options() {
    return "quarantine_size_mb=16:max_malloc_fill_size=0:malloc_context_size=2";
}

// libFuzzer's leak check after an input that kept more blocks than it freed runs that
// input again and scans the whole heap: Qt's caches, filled once, set it off on many
// inputs and it doubled their time. Leaks are looked for when the run ends instead (the
// sanitizer's own check at exit); a leak found there is pinned to its input by replaying
// the corpus with -detect_leaks=1, which, given on the command line, wins over this
// default, as every flag given there does.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    static QList<char*> args;
    static char noLeakCheck[] = "-detect_leaks=0";
    args.append((*argv)[0]);
    args.append(noLeakCheck);
    for (int i = 1; i < *argc; ++i)
        args.append((*argv)[i]);
    args.append(nullptr);
    *argc = int(args.size()) - 1;
    *argv = args.data();
    return 0;
}

// Qt's own warnings (a font, a file engine) would be written for every input: dropped.
inline const bool quietQt = [] {
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return true;
}();

// A damage finding of `scope` names record `recordNo` of `path`.
inline bool named(const vt::DamageScope& scope, const QString& path, int recordNo) {
    for (const vt::DamageFinding& f : scope.findings())
        if (f.path == path && f.recordNo == recordNo)
            return true;
    return false;
}

#define FUZZ_CHECK(ok) ::fuzz::checkAt((ok), __FILE__, __LINE__)
inline void checkAt(bool ok, const char* file, int line) {
    if (!ok) {
        std::fprintf(stderr, "check failed at %s:%d\n", file, line);
        std::abort();
    }
}

// The input as parts, each a 32-bit little-endian length followed by that many bytes (a
// length past the end takes what is left): part 0 holds small parameters, part 1 the
// answers to the questions (one a line), the others are the files of the target. Lengths,
// not separators, because the files hold every byte value.
class Parts {
public:
    explicit Parts(const QByteArray& bytes) {
        qsizetype at = 0;
        while (at + 4 <= bytes.size()) {
            const uint32_t n = uint8_t(bytes[at]) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
                               uint32_t(uint8_t(bytes[at + 2])) << 16 |
                               uint32_t(uint8_t(bytes[at + 3])) << 24;
            at += 4;
            const qsizetype take = std::min<qsizetype>(n, bytes.size() - at);
            m_parts.append(bytes.mid(at, take));
            at += take;
        }
    }
    QByteArray part(int i) const { return m_parts.value(i); }
    // Parameter byte i of part 0, 0 when missing.
    int param(int i) const {
        const QByteArray p = m_parts.value(0);
        return i < p.size() ? uint8_t(p[i]) : 0;
    }

private:
    QList<QByteArray> m_parts;
};

// Answers: each input question takes the next line of the answers part, then the empty
// answer (Cancel); message boxes take Yes, No, Ok, Cancel, Retry by the answer's first
// byte, then the box's default. At most 64 questions are answered from the input.
class AnswerDialogs : public vt::Dialogs {
public:
    explicit AnswerDialogs(const QByteArray& answers) : m_lines(answers.split('\n')) {}
    vt::MsgAnswer message(const vt::MessageRequest& request) override {
        ++m_messages;
        if (request.title == QStringLiteral("Fichier endommagé"))
            m_damageTexts << request.text;
        FUZZ_CHECK(!request.text.isEmpty());
        if (m_next >= m_lines.size() || m_asked++ > 64)
            return request.buttons == vt::MsgButtons::RetryCancel ? vt::MsgAnswer::Cancel
                                                                  : request.defaultButton;
        const QByteArray line = m_lines[m_next++];
        static constexpr vt::MsgAnswer all[] = {vt::MsgAnswer::Yes, vt::MsgAnswer::No,
                                                vt::MsgAnswer::Ok, vt::MsgAnswer::Cancel};
        return all[(line.isEmpty() ? 0 : uint8_t(line[0])) % 4];
    }
    QString input(const vt::InputRequest&) override {
        if (m_next >= m_lines.size() || m_asked++ > 64)
            return {};
        return QString::fromUtf8(m_lines[m_next++]);
    }
    QString chooseFolder(const QString&, const QString&) override {
        m_asked++;
        return {};
    }
    bool printerSetup() override { return false; }
    int messages() const { return m_messages; }
    // The texts of the boxes that named a damaged file.
    const QStringList& damageTexts() const { return m_damageTexts; }
    bool named(const QString& path, int recordNo) const {
        for (const QString& t : m_damageTexts)
            if (t.contains(path) && t.contains(QStringLiteral("enregistrement %1 ").arg(recordNo)))
                return true;
        return false;
    }

private:
    QList<QByteArray> m_lines;
    int m_next = 0;
    int m_asked = 0;
    int m_messages = 0;
    QStringList m_damageTexts;
};

} // namespace fuzz
