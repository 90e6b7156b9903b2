#include "app/IniLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace qzr {

namespace {

const QString IniFileName = QStringLiteral("QZR.INI");

} // namespace

QString IniFilePath(const QString& programDir, const QString& userConfigDir, bool installed)
{
    const QFileInfo besideProgram(QDir(programDir).filePath(IniFileName));
    const bool writable =
        besideProgram.exists() ? besideProgram.isWritable() : QFileInfo(programDir).isWritable();
    if (writable && !installed)
        return besideProgram.filePath();
    QDir().mkpath(userConfigDir);
    return QDir(userConfigDir).filePath(IniFileName);
}

QString DefaultIniFilePath(bool installed)
{
    return IniFilePath(QCoreApplication::applicationDirPath(),
                       QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation),
                       installed);
}

} // namespace qzr
