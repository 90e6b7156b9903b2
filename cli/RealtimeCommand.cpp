#include "cli/ArgumentValues.h"
#include "cli/Commands.h"
#include "cli/Interruption.h"
#include "cli/UnitSession.h"

#include <QJsonObject>

#include <limits>

namespace qzr::cli {

namespace {

constexpr std::chrono::seconds ReadingInterval{1};
// Time allowed beyond one interval per set before the readings count as stuck.
constexpr std::chrono::seconds ReadingsSlack{10};
constexpr std::chrono::hours UntilInterrupted{24 * 365};

} // namespace

void RunRealtime(const TCliContext& context)
{
    const std::int64_t count = ParseInteger(
        QStringLiteral("--count"), context.Line.Value("--count").value_or(QStringLiteral("1")), 0,
        std::numeric_limits<std::int32_t>::max());
    TUnitSession unit(context);
    TConsoleCradle& operations = unit.Cradle();
    TLiveReadings& readings = operations.Operations().Readings;

    TOutput& out = context.Output;
    out.Line(QStringLiteral("raw_input\traw_battery\tcalibrated_input\tuser_input"));
    std::int64_t shown = 0;
    operations.OnReadings = [&](const TRealtimeReadings& r) {
        ++shown;
        out.Line(QStringLiteral("%1\t%2\t%3\t%4")
                     .arg(r.RawInput)
                     .arg(r.RawBattery)
                     .arg(r.Calibrated)
                     .arg(r.UserAdjusted));
        out.JsonLine(QJsonObject{{"raw_input", r.RawInput},
                                 {"raw_battery", r.RawBattery},
                                 {"calibrated_input", r.Calibrated},
                                 {"user_input", r.UserAdjusted}});
    };

    CatchInterruption();
    readings.ReadRealtimeActionExecute(true);
    // The first set is asked for at once, the others once a second.
    readings.RealTimerTimer();
    const auto deadline =
        count == 0 ? std::chrono::duration_cast<std::chrono::milliseconds>(UntilInterrupted)
                   : std::chrono::milliseconds(ReadingInterval * count + ReadingsSlack);
    unit.RunUntil([&] { return (count != 0 && shown >= count) || Interrupted(); }, deadline);
    readings.ReadRealtimeActionExecute(false);
}

} // namespace qzr::cli
