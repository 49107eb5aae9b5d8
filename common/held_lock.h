#pragma once
// Lock files that keep two programs from writing the same files at once. A program holds
// its data folder for as long as it runs, and the release-site list while one of its site
// editors is open. A lock left by a program that died on this computer no longer holds.
// Inside one program the same lock file is shared: taking it again while it is held there
// succeeds, and the file is released when its last holder ends.
#include <QString>

#include <memory>

namespace vt {

// Who holds a lock file, as the file says.
struct LockOwner {
    QString program; // the holding program's name ("Vorel", "Tarvio")
    QString host;    // the computer it runs on
    qint64 pid = 0;

    // The program's name as the user knows it ("vorel" gives "Vorel"), or "un autre
    // programme" when the file does not say.
    QString shownProgram() const;
    // The computer's name, or "?" when the file does not say.
    QString shownHost() const;
};

class HeldLock {
public:
    enum class State { Held, HeldElsewhere, Failed };

    HeldLock() = default;
    ~HeldLock();
    HeldLock(HeldLock&& other) noexcept;
    HeldLock& operator=(HeldLock&& other) noexcept;
    HeldLock(const HeldLock&) = delete;
    HeldLock& operator=(const HeldLock&) = delete;

    // Tries once to take the lock file at `lockPath`; never waits.
    static HeldLock take(const QString& lockPath);

    State state() const { return m_state; }
    bool held() const { return m_state == State::Held; }
    // For HeldElsewhere: the program holding it (fields empty when the file says nothing).
    const LockOwner& owner() const { return m_owner; }
    // For Failed: why the lock file could not be made (a folder that cannot be written).
    const QString& failure() const { return m_failure; }
    const QString& path() const { return m_path; }

    // Gives up this hold now (the file goes when no other holder in the program is left).
    void release();

private:
    State m_state = State::Failed;
    QString m_path;
    LockOwner m_owner;
    QString m_failure;
};

// The name of this computer, as a lock file written here gives it.
QString thisHostName();

} // namespace vt
