#include "app/ProgramDataLocation.h"

#include "app/version/BuildInfo.h"

#include <translation/DatabaseLocation.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace qzr {
namespace {

// Either of them beside the program marks its directory as the data directory.
const QStringList DataFileNames = {QString::fromLatin1(LanguageDatabaseName),
                                   QStringLiteral("standard.csv")};

} // namespace

TProgramFiles FindProgramFiles(const QString& programDir, const QString& installedDataDir)
{
    const QDir besideProgram(programDir);
    for (const QString& name : DataFileNames) {
        if (QFileInfo::exists(besideProgram.filePath(name)))
            return {programDir, false};
    }
    if (QFileInfo(installedDataDir).isDir())
        return {QDir::cleanPath(installedDataDir), true};
    return {programDir, false};
}

TProgramFiles DefaultProgramFiles()
{
    const QString programDir = QCoreApplication::applicationDirPath();
    return FindProgramFiles(
        programDir, QDir(programDir).filePath(QString::fromUtf8(build::DataDirFromProgramDir)));
}

} // namespace qzr
