#include "cradle/CradleLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace qzr {

namespace {

// The user's runtime directory; without one (a script run outside a login
// session), a directory of the user's own in the temporary directory, so that
// every program of the user still meets the same locks.
QString RuntimeDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty())
        return runtime;
    const QString own = QDir(QDir::tempPath()).filePath(QStringLiteral("qzr-%1").arg(::getuid()));
    ::mkdir(QFile::encodeName(own).constData(), 0700);
    return own;
}

} // namespace

QString TCradleLock::LockFilePath(const QString& devicePath)
{
    // The path itself may be long and hold slashes; its digest names the file.
    const QByteArray digest =
        QCryptographicHash::hash(devicePath.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QDir(RuntimeDirectory())
        .filePath(QStringLiteral("qzr-cradle-%1.lock").arg(QString::fromLatin1(digest)));
}

TCradleLock::TCradleLock(const QString& devicePath, QObject* parent) : QObject(parent)
{
    const QString lockFile = LockFilePath(devicePath);
    const int descriptor =
        ::open(QFile::encodeName(lockFile).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (descriptor < 0) {
        FProblem = QStringLiteral("The lock file %1 of the cradle %2 cannot be opened: %3")
                       .arg(lockFile, devicePath, QString::fromLocal8Bit(std::strerror(errno)));
        return;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(descriptor);
        FHeldElsewhere = error == EWOULDBLOCK;
        FProblem =
            FHeldElsewhere
                ? QStringLiteral("The cradle %1 is in use by another program.").arg(devicePath)
                : QStringLiteral("The cradle %1 cannot be locked: %2")
                      .arg(devicePath, QString::fromLocal8Bit(std::strerror(error)));
        return;
    }
    FDescriptor = descriptor;
}

TCradleLock::~TCradleLock()
{
    if (FDescriptor >= 0)
        ::close(FDescriptor);
}

} // namespace qzr
