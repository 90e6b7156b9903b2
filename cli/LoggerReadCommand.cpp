#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/ProgressBar.h"
#include "cli/Terminal.h"
#include "cli/UnitSession.h"

#include <logdata/LogDataFile.h>
#include <logdata/LogRecordWalk.h>

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

namespace qzr::cli {

namespace {

// A full memory takes about 30 s through the HID cradle and a minute through
// the bridge; a stalled unit is caught much earlier by the session's own
// time-out.
constexpr std::chrono::minutes ReadoutDeadline{10};

} // namespace

void RunLoggerRead(const TCliContext& context)
{
    const auto file = context.Line.Value("-o");
    if (!file || file->isEmpty())
        throw UsageError(QStringLiteral("logger read needs -o FILE"));
    const QFileInfo target(*file);
    if (target.exists() && !context.Line.Has("--force"))
        throw OperationFailed(QStringLiteral("%1 exists; --force replaces it").arg(*file));
    if (!target.absoluteDir().exists())
        throw OperationFailed(QStringLiteral("%1: no such directory").arg(target.absolutePath()));

    TUnitSession unit(context);
    TConsoleCradle& operations = unit.Cradle();
    TOutput& out = context.Output;
    TProgressBar bar(StandardErrorIsTerminal() && !out.Quiet());
    operations.OnProgress = [&](int percent) { bar.Show(percent); };
    TLogReadout& readout = operations.Operations().Readout;
    readout.ReadLoggerBtnClick();
    unit.RunUntil([&] { return operations.ReadoutImage.has_value(); }, ReadoutDeadline);
    bar.Finish();

    const TLogData& image = *operations.ReadoutImage;
    const int bytes = readout.LogDataIndex();
    const auto records = static_cast<qint64>(WalkLogRecords(image).Points.size());
    try {
        ReplaceFileContent(*file, QByteArray(reinterpret_cast<const char*>(image.data()),
                                             static_cast<qsizetype>(image.size())));
    } catch (const TLogDataFileError& error) {
        throw OperationFailed(QString::fromUtf8(error.what()));
    }
    out.Line(QStringLiteral("%1 bytes read, %2 records, written to %3")
                 .arg(bytes)
                 .arg(records)
                 .arg(*file));
    out.Document(QJsonObject{{"file", *file}, {"bytes", bytes}, {"records", records}});
}

} // namespace qzr::cli
