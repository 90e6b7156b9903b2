#include "cli/ArgumentValues.h"
#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/Confirmation.h"
#include "cli/UnitSession.h"

#include <cradle/operations/RangeError.h>

#include <QJsonObject>

namespace qzr::cli {

namespace {

const QString Question = QStringLiteral("This will erase the data, are you sure ?");
const QString AtFormat = QStringLiteral("yyyy-MM-dd HH:mm");
constexpr std::int64_t LongestInterval = 65535;
constexpr std::chrono::seconds StartDeadline{10};

TLoggerStartFields StartFields(const TCommandLine& line)
{
    const auto interval = line.Value("--interval");
    if (!interval)
        throw UsageError(QStringLiteral("logger start needs --interval"));
    TLoggerStartFields fields;
    fields.Interval = static_cast<std::uint32_t>(
        ParseInteger(QStringLiteral("--interval"), *interval, 0, LongestInterval));
    if (const auto at = line.Value("--at")) {
        const QDateTime start = QDateTime::fromString(at->trimmed(), AtFormat);
        if (!start.isValid())
            throw UsageError(
                QStringLiteral("--at: %1 is not a date and time as YYYY-MM-DD HH:MM").arg(*at));
        fields.Date = start.date();
        fields.Time = start.time();
    }
    return fields;
}

} // namespace

void RunLoggerStart(const TCliContext& context)
{
    const TLoggerStartFields fields = StartFields(context.Line);
    RequireConfirmation(context, QStringLiteral("erase the logger"));
    TUnitSession unit(context);
    AskConfirmation(context, Question);

    TConsoleCradle& operations = unit.Cradle();
    const QDateTime now = QDateTime::currentDateTime();
    TLoggerStart start;
    try {
        // The values the start sends, from the same clock reading.
        start = LoggerStartFromFields(now, fields);
        operations.Operations().Logger.StartLoggerBtnClick(now, fields);
    } catch (const ERangeError& error) {
        throw OperationFailed(QString::fromUtf8(error.what()));
    }
    TOutput& out = context.Output;
    if (start.IntervalRaised)
        out.Note(QStringLiteral("interval %1 raised to %2 seconds")
                     .arg(fields.Interval)
                     .arg(start.Interval));
    if (start.StartMovedToToday)
        out.Note(QStringLiteral("the start lies in the past: logging starts now"));
    unit.RunUntil([&] { return operations.LoggerStartDone; }, StartDeadline);

    out.Line(QStringLiteral("start_time: %1").arg(start.T));
    out.Line(QStringLiteral("delay: %1").arg(start.D));
    out.Line(QStringLiteral("interval: %1").arg(start.Interval));
    out.Document(
        QJsonObject{{"start_time", start.T}, {"delay", start.D}, {"interval", start.Interval}});
}

} // namespace qzr::cli
