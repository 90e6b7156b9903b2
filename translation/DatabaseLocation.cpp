#include "DatabaseLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace qzr {
namespace {

bool RefreshCopy(const QString& installed, const QString& userCopy)
{
    const QFileInfo copyInfo(userCopy);
    if (copyInfo.exists() && copyInfo.lastModified() >= QFileInfo(installed).lastModified())
        return true;
    const QString partial = userCopy + ".partial";
    QFile::remove(partial);
    if (!QDir().mkpath(copyInfo.absolutePath()) || !QFile::copy(installed, partial))
        return false;
    QFile::setPermissions(partial, QFile::ReadOwner | QFile::WriteOwner);
    QFile::remove(userCopy);
    return QFile::rename(partial, userCopy);
}

} // namespace

QString ChooseLanguageDatabase(const QString& installed, const QString& userCopy,
                               bool installedWritable)
{
    if (installedWritable || !QFileInfo::exists(installed))
        return installed;
    return RefreshCopy(installed, userCopy) ? userCopy : installed;
}

QString DefaultLanguageDatabase()
{
    const QString directory = QCoreApplication::applicationDirPath();
    const QString installed = directory + '/' + LanguageDatabaseName;
    const bool writable = QFileInfo(installed).isWritable() && QFileInfo(directory).isWritable();
    const QString userCopy = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) +
                             '/' + LanguageDatabaseName;
    return ChooseLanguageDatabase(installed, userCopy, writable);
}

} // namespace qzr
