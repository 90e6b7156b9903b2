#pragma once

#include <QObject>
#include <QString>

namespace qzr {

// Says which program uses a cradle: every program that holds a session with a
// unit through a cradle takes this advisory lock first, keyed by the cradle's
// device path, in the user's runtime directory (XDG_RUNTIME_DIR). A second
// program, or a second holder in the same program, is refused while the first
// keeps it; the lock goes with its object or with the process.
class TCradleLock : public QObject {
    Q_OBJECT
public:
    // Tries to take the lock of the cradle at once, never waits.
    explicit TCradleLock(const QString& devicePath, QObject* parent = nullptr);
    ~TCradleLock() override;
    TCradleLock(const TCradleLock&) = delete;
    TCradleLock& operator=(const TCradleLock&) = delete;

    // The lock is this object's.
    bool Taken() const { return FDescriptor >= 0; }
    // Another holder has it: the cradle must be left alone.
    bool HeldElsewhere() const { return FHeldElsewhere; }
    // Why the lock could not be taken, for a message; empty when it was.
    QString Problem() const { return FProblem; }

    // The lock file of a device path.
    static QString LockFilePath(const QString& devicePath);

private:
    int FDescriptor = -1;
    bool FHeldElsewhere = false;
    QString FProblem;
};

} // namespace qzr
