#include "cradle/CradleLock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace qzr {

QString TCradleLock::LockFilePath(const QString& devicePath)
{
    // The path itself may be long and hold slashes; its digest names the file.
    const QByteArray digest =
        QCryptographicHash::hash(devicePath.toUtf8(), QCryptographicHash::Sha256).toHex().left(32);
    return QDir(QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation))
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
