#include "DatabaseLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace qzr {
namespace {

// The installed file a copy was taken from, told by its size and time.
QByteArray InstalledStamp(const QString& installed)
{
    const QFileInfo info(installed);
    return QByteArray::number(info.size()) + ' ' +
           QByteArray::number(info.lastModified().toMSecsSinceEpoch());
}

QByteArray ReadStamp(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteStamp(const QString& path, const QByteArray& stamp)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
           file.write(stamp) == stamp.size();
}

bool RefreshCopy(const QString& installed, const QString& userCopy)
{
    const QString stampPath = userCopy + ".installed";
    const QByteArray stamp = InstalledStamp(installed);
    if (QFileInfo::exists(userCopy) && ReadStamp(stampPath) == stamp)
        return true;
    const QString partial = userCopy + ".partial";
    QFile::remove(partial);
    if (!QDir().mkpath(QFileInfo(userCopy).absolutePath()) || !QFile::copy(installed, partial))
        return false;
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(userCopy);
    return QFile::rename(partial, userCopy) && WriteStamp(stampPath, stamp);
}

} // namespace

QString ChooseLanguageDatabase(const QString& installed, const QString& userCopy,
                               bool installedWritable)
{
    if (installedWritable || !QFileInfo::exists(installed))
        return installed;
    return RefreshCopy(installed, userCopy) ? userCopy : installed;
}

QString LanguageDatabaseIn(const QString& directory, bool installed)
{
    const QString file = directory + '/' + LanguageDatabaseName;
    const bool writable =
        !installed && QFileInfo(file).isWritable() && QFileInfo(directory).isWritable();
    const QString userCopy = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                             '/' + LanguageDatabaseName;
    return ChooseLanguageDatabase(file, userCopy, writable);
}

QString DefaultLanguageDatabase()
{
    return LanguageDatabaseIn(QCoreApplication::applicationDirPath(), false);
}

} // namespace qzr
