#include "cli/Catalogue.h"
#include "cli/Commands.h"
#include "cli/SetupImageReport.h"
#include "cli/UnitSession.h"

#include <protocol/AmplifierRanges.h>

#include <QJsonArray>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace qzr::cli {

namespace {

template <typename Field> QJsonArray PerRange(Field field)
{
    QJsonArray values;
    for (int range = 0; range < AmplifierRangeCount; ++range)
        values.append(field(range));
    return values;
}

QString Joined(const QJsonArray& values)
{
    QStringList texts;
    for (const QJsonValue& value : values)
        texts.append(QString::number(value.toInt()));
    return texts.join(QLatin1Char(' '));
}

} // namespace

void RunInfo(const TCliContext& context)
{
    const std::vector<TSensorRecord> catalogue = LoadCatalogue(context);
    TUnitSession unit(context);
    const TSessionProtocol& session = unit.Session();
    const TSetupData& image = session.SetupData;

    const int amplifier = image.ShownAmplifierIndex();
    const auto sensor = FindSensor(catalogue, image.SensorId());
    const QString sensorName = sensor ? sensor->sensor_name : QString();
    const QString serial =
        QStringLiteral("#%1").arg(session.SerialNumber, 8, 16, QLatin1Char('0')).toUpper();
    const QJsonArray offsets = PerRange([&](int r) { return image.AmpOffset(r); });
    const QJsonArray multipliers = PerRange([&](int r) { return image.AmpMultiplier(r); });
    const QJsonArray dividers = PerRange([&](int r) { return image.AmpDivider(r); });
    const int gain = AmplifierRanges[static_cast<std::size_t>(amplifier)].Gain;

    TOutput& out = context.Output;
    out.Line(QStringLiteral("serial: %1").arg(serial));
    out.Line(QStringLiteral("protocol_version: %1").arg(session.ProtocolVersion));
    out.Line(QStringLiteral("firmware_version: %1").arg(session.FirmwareVersion));
    out.Line(QStringLiteral("configuration: %1").arg(session.ConfigCode));
    out.Line(QStringLiteral("calibration offset: %1").arg(Joined(offsets)));
    out.Line(QStringLiteral("calibration multiplier: %1").arg(Joined(multipliers)));
    out.Line(QStringLiteral("calibration divider: %1").arg(Joined(dividers)));
    out.Line(QStringLiteral("amplifier: %1 (%2x)").arg(amplifier).arg(gain));
    out.Line(QStringLiteral("user_multiplier: %1").arg(image.UserMultiplier()));
    out.Line(QStringLiteral("user_divider: %1").arg(image.UserDivider()));
    out.Line(QStringLiteral("decimals: %1").arg(image.Decimals()));
    out.Line(QStringLiteral("negatives_allowed: %1")
                 .arg(image.NegativesAllowed() ? QStringLiteral("yes") : QStringLiteral("no")));
    out.Line(QStringLiteral("sensor_id: %1").arg(image.SensorId()));
    out.Line(QStringLiteral("sensor_name: %1").arg(sensorName));
    out.Line(QStringLiteral("sensitivity: %1").arg(SingleText(image.Sensitivity())));
    out.Line(QStringLiteral("setup_image: %1").arg(SetupImageHex(image)));

    out.Document(QJsonObject{
        {"serial", serial},
        {"protocol_version", session.ProtocolVersion},
        {"firmware_version", session.FirmwareVersion},
        {"configuration", session.ConfigCode},
        {"calibration",
         QJsonObject{{"offset", offsets}, {"multiplier", multipliers}, {"divider", dividers}}},
        {"amplifier", QJsonObject{{"index", amplifier}, {"gain", gain}}},
        {"user_multiplier", image.UserMultiplier()},
        {"user_divider", image.UserDivider()},
        {"decimals", image.Decimals()},
        {"negatives_allowed", image.NegativesAllowed()},
        {"sensor_id", image.SensorId()},
        {"sensor_name", sensorName},
        {"sensitivity", SingleNumber(image.Sensitivity())},
        {"setup_image", SetupImageHex(image)},
    });
}

} // namespace qzr::cli
