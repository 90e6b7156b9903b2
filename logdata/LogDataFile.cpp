#include "logdata/LogDataFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace qzr {

namespace {

[[noreturn]] void Fail(const char* what, const QString& fileName, const QString& reason)
{
    throw TLogDataFileError(
        QStringLiteral("%1 \"%2\". %3")
            .arg(QLatin1String(what), QDir::toNativeSeparators(fileName), reason)
            .toStdString());
}

} // namespace

TLogData LoadLogDataFile(const QString& fileName)
{
    QFile file(fileName);
    if (QFileInfo(fileName).isDir())
        Fail("Cannot open file", fileName, QStringLiteral("It is a directory."));
    if (!file.open(QIODevice::ReadOnly))
        Fail("Cannot open file", fileName, file.errorString());
    TLogData data;
    data.Erase();
    qint64 filled = 0;
    while (filled < qint64(data.size())) {
        const qint64 read =
            file.read(reinterpret_cast<char*>(data.data()) + filled, qint64(data.size()) - filled);
        if (read < 0)
            Fail("Cannot read file", fileName, file.errorString());
        if (read == 0)
            break;
        filled += read;
    }
    return data;
}

void SaveLogDataFile(const QString& fileName, const TLogData& data)
{
    ReplaceFileContent(
        fileName, QByteArray(reinterpret_cast<const char*>(data.data()), qsizetype(data.size())));
}

void ReplaceFileContent(const QString& fileName, const QByteArray& content)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        Fail("Cannot create file", fileName, file.errorString());
    if (file.write(content) != content.size())
        Fail("Cannot write file", fileName, file.errorString());
    if (!file.commit())
        Fail("Cannot write file", fileName, file.errorString());
}

} // namespace qzr
