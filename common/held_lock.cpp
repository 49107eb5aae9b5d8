#include "held_lock.h"

#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QSysInfo>

#include <map>

namespace vt {

namespace {

struct Shared {
    std::unique_ptr<QLockFile> file;
    int holders = 0;
};

// The lock files this program holds, by absolute path.
std::map<QString, Shared>& heldHere() {
    static std::map<QString, Shared> held;
    return held;
}

QString keyOf(const QString& lockPath) { return QFileInfo(lockPath).absoluteFilePath(); }

} // namespace

QString LockOwner::shownProgram() const {
    if (program.isEmpty())
        return QStringLiteral("un autre programme");
    return program.left(1).toUpper() + program.mid(1);
}

QString LockOwner::shownHost() const { return host.isEmpty() ? QStringLiteral("?") : host; }

QString thisHostName() { return QSysInfo::machineHostName(); }

HeldLock::~HeldLock() { release(); }

HeldLock::HeldLock(HeldLock&& other) noexcept
    : m_state(other.m_state), m_path(std::move(other.m_path)), m_owner(std::move(other.m_owner)),
      m_failure(std::move(other.m_failure)) {
    other.m_state = State::Failed;
}

HeldLock& HeldLock::operator=(HeldLock&& other) noexcept {
    if (this != &other) {
        release();
        m_state = other.m_state;
        m_path = std::move(other.m_path);
        m_owner = std::move(other.m_owner);
        m_failure = std::move(other.m_failure);
        other.m_state = State::Failed;
    }
    return *this;
}

HeldLock HeldLock::take(const QString& lockPath) {
    HeldLock out;
    out.m_path = keyOf(lockPath);
    Shared& shared = heldHere()[out.m_path];
    if (shared.holders > 0) {
        ++shared.holders;
        out.m_state = State::Held;
        return out;
    }
    auto file = std::make_unique<QLockFile>(out.m_path);
    // Held for as long as the program runs, however long: only a lock whose program is
    // gone is stale, never one that is merely old.
    file->setStaleLockTime(0);
    if (file->tryLock(0)) {
        shared.file = std::move(file);
        shared.holders = 1;
        out.m_state = State::Held;
        return out;
    }
    heldHere().erase(out.m_path);
    switch (file->error()) {
    case QLockFile::LockFailedError:
        out.m_state = State::HeldElsewhere;
        file->getLockInfo(&out.m_owner.pid, &out.m_owner.host, &out.m_owner.program);
        break;
    case QLockFile::PermissionError:
        out.m_failure = QStringLiteral("le dossier %1 n'accepte pas d'écriture")
                            .arg(QDir::toNativeSeparators(QFileInfo(out.m_path).absolutePath()));
        break;
    default:
        out.m_failure = QStringLiteral("erreur inconnue");
        break;
    }
    return out;
}

void HeldLock::release() {
    if (m_state != State::Held)
        return;
    m_state = State::Failed;
    auto it = heldHere().find(m_path);
    if (it == heldHere().end())
        return;
    if (--it->second.holders <= 0)
        heldHere().erase(it); // the QLockFile's end removes the file
}

} // namespace vt
