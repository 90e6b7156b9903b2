#include "cli/ArgumentValues.h"
#include "cli/Catalogue.h"
#include "cli/CliError.h"
#include "cli/Commands.h"
#include "cli/Confirmation.h"
#include "cli/ProgressBar.h"
#include "cli/SetupImageReport.h"
#include "cli/Terminal.h"
#include "cli/UnitSession.h"

#include <catalogue/SensitivityLimits.h>
#include <catalogue/SensorSettingsError.h>
#include <catalogue/SensorSetup.h>
#include <cradle/operations/ControlsToSetupData.h>
#include <cradle/operations/RangeError.h>

#include <QJsonObject>

#include <limits>

namespace qzr::cli {

namespace {

const QString Question = QStringLiteral("Send new sensor settings to the device now ?");
// A whole programming run: 32 pairs and the store, a few seconds on either link.
constexpr std::chrono::seconds ProgrammingDeadline{60};

// The sensitivity as the wizard's field keeps it for the sensor: a value the
// field does not accept is moved within the sensor's limits, and a sensor
// with one fixed sensitivity always gets it.
float SensitivityForSensor(double requested, const TSensorRecord& sensor, TOutput& out)
{
    const auto sensitivity = static_cast<float>(requested);
    const TSensitivityRange accepted = AcceptedSensitivityRange(sensor);
    const bool fixed = sensor.sensor_min == sensor.sensor_max;
    if (!fixed && requested >= accepted.Lowest && requested <= accepted.Highest)
        return sensitivity;
    const float kept = KeptWithinSensorLimits(sensitivity, sensor);
    if (kept != sensitivity)
        out.Note(QStringLiteral("sensitivity %1 is outside the limits of sensor %2 (%3 to %4): "
                                "using %5")
                     .arg(SingleText(sensitivity))
                     .arg(sensor.sensor_ID)
                     .arg(sensor.sensor_min)
                     .arg(sensor.sensor_max)
                     .arg(SingleText(kept)));
    return kept;
}

} // namespace

void RunProgram(const TCliContext& context)
{
    const TCommandLine& line = context.Line;
    const auto sensorText = line.Value("--sensor");
    const auto sensitivityText = line.Value("--sensitivity");
    if (!sensorText || !sensitivityText)
        throw UsageError(QStringLiteral("program needs --sensor and --sensitivity"));
    const auto sensorId = static_cast<qint32>(ParseInteger(QStringLiteral("--sensor"), *sensorText,
                                                           std::numeric_limits<qint32>::min(),
                                                           std::numeric_limits<qint32>::max()));
    const double requested = ParseDecimal(QStringLiteral("--sensitivity"), *sensitivityText);
    const bool dryRun = line.Has("--dry-run");
    if (!dryRun)
        RequireConfirmation(context, QStringLiteral("program"));

    const auto sensor = FindSensor(LoadCatalogue(context), sensorId);
    if (!sensor)
        throw UsageError(QStringLiteral("sensor %1 is not in the catalogue").arg(sensorId));
    TOutput& out = context.Output;
    const float sensitivity = SensitivityForSensor(requested, *sensor, out);

    TUnitSession unit(context);
    TSessionProtocol& session = unit.Session();
    TSetupData image = session.SetupData;
    TSensorSetup setup;
    try {
        setup = SensorSetupFor(*sensor, sensitivity, session.FirmwareVersion);
        ApplySensorSetup(image, setup);
        // The range check of the programming run, before anything is sent.
        TSetupData rebuilt = image;
        ControlsToSetupData(SetupControlsShowing(image), rebuilt);
    } catch (const ESensorSettingsError& error) {
        throw OperationFailed(error.Message());
    } catch (const ERangeError& error) {
        throw OperationFailed(QString::fromUtf8(error.what()));
    }

    const TZT46Settings& settings = setup.Settings;
    out.Line(QStringLiteral("amplifier: %1 (%2x)")
                 .arg(settings.AmplifierSetting)
                 .arg(AmplifierRanges[static_cast<std::size_t>(settings.AmplifierSetting)].Gain));
    out.Line(QStringLiteral("multiplier: %1").arg(settings.Multiplier));
    out.Line(QStringLiteral("divider: %1").arg(settings.Divider));
    out.Line(QStringLiteral("decimals: %1").arg(settings.DecDotSetting));
    out.Line(QStringLiteral("negatives_allowed: %1")
                 .arg(settings.NegativesAllowed ? QStringLiteral("yes") : QStringLiteral("no")));
    out.Line(QStringLiteral("sensitivity_decimals: %1").arg(image.SensitivityDecimals()));
    out.Line(QStringLiteral("sensitivity_fixed: %1").arg(image.SensitivityFixed()));
    out.Line(QStringLiteral("setup_image: %1").arg(SetupImageHex(image)));

    bool programmed = false;
    if (!dryRun) {
        AskConfirmation(context, Question);
        TConsoleCradle& operations = unit.Cradle();
        TProgressBar bar(StandardErrorIsTerminal() && !out.Quiet());
        operations.OnProgress = [&](int percent) { bar.Show(percent); };
        session.SetupData = image;
        operations.Operations().Programming.ProgramBtnClick(nvmUser, SetupControlsShowing(image));
        unit.RunUntil(
            [&] {
                return operations.ProgrammingDone || operations.ProgrammingFailedAt.has_value();
            },
            ProgrammingDeadline);
        bar.Finish();
        if (operations.ProgrammingFailedAt)
            throw OperationFailed(
                QStringLiteral("Programming failed at address: ") +
                QString::fromStdString(SetupAddressText(*operations.ProgrammingFailedAt)));
        programmed = true;
        image = session.SetupData;
    }
    out.Line(QStringLiteral("programmed: %1")
                 .arg(programmed ? QStringLiteral("yes") : QStringLiteral("no")));
    out.Document(QJsonObject{
        {"amplifier", settings.AmplifierSetting},
        {"multiplier", settings.Multiplier},
        {"divider", settings.Divider},
        {"decimals", settings.DecDotSetting},
        {"negatives_allowed", settings.NegativesAllowed},
        {"sensitivity_decimals", image.SensitivityDecimals()},
        {"sensitivity_fixed", image.SensitivityFixed()},
        {"programmed", programmed},
        {"setup_image", SetupImageHex(image)},
    });
}

} // namespace qzr::cli
