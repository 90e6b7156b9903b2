#include "cli/Commands.h"
#include "cli/UnitSession.h"

#include <protocol/LittleEndian.h>
#include <protocol/LogData.h>

#include <QJsonObject>
#include <QLocale>

namespace qzr::cli {

namespace {

constexpr std::chrono::seconds StatusDeadline{10};

// Positions in a 0x27 reply.
constexpr std::size_t RemainingDelayAt = 2;
constexpr std::size_t FillPositionAt = 6;
constexpr std::size_t StateAt = 8;
constexpr std::size_t SecondsLeftAt = 10;

// A value as the sheet shows it, as a number; null where the sheet shows nothing.
QJsonValue ShownNumber(const QString& text)
{
    if (text.isEmpty())
        return QJsonValue::Null;
    return QLocale().toDouble(text);
}

QString TextOrDash(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

} // namespace

void RunLoggerStatus(const TCliContext& context)
{
    TUnitSession unit(context);
    TConsoleCradle& operations = unit.Cradle();
    TDataLogger& logger = operations.Operations().Logger;
    logger.ReadLoggerValuesCheckboxClick(true);
    // One request at once instead of after the first second.
    logger.LoggerTimerTimer();
    unit.RunUntil([&] { return operations.LoggerStatus.has_value(); }, StatusDeadline);
    logger.ReadLoggerValuesCheckboxClick(false);

    const TLoggerStatusTexts& texts = *operations.LoggerStatus;
    const std::uint8_t* reply = operations.LoggerStatusMessage.data();
    const std::uint8_t state = reply[StateAt];
    const bool armed = state == lsArmed;
    const bool logging = state == lsLogging;
    const QJsonValue remainingDelay =
        armed ? QJsonValue(static_cast<qint64>(ReadU32(reply + RemainingDelayAt)))
              : QJsonValue::Null;
    const QJsonValue storedSamples =
        logging ? QJsonValue(static_cast<qint64>(StoredSamples(ReadU16(reply + FillPositionAt))))
                : QJsonValue::Null;
    const QJsonValue remainingInterval =
        logging ? QJsonValue(ReadU16(reply + SecondsLeftAt)) : QJsonValue::Null;

    TOutput& out = context.Output;
    out.Line(QStringLiteral("state: %1").arg(state));
    out.Line(QStringLiteral("status: %1").arg(texts.Status));
    out.Line(QStringLiteral("minimum: %1").arg(TextOrDash(texts.Minimum)));
    out.Line(QStringLiteral("maximum: %1").arg(TextOrDash(texts.Maximum)));
    out.Line(QStringLiteral("integral: %1").arg(TextOrDash(texts.Integral)));
    out.Line(QStringLiteral("remaining_interval: %1").arg(TextOrDash(texts.RemainingInterval)));
    out.Document(QJsonObject{
        {"state", state},
        {"status", texts.Status},
        {"remaining_delay", remainingDelay},
        {"stored_samples", storedSamples},
        {"minimum", ShownNumber(texts.Minimum)},
        {"maximum", ShownNumber(texts.Maximum)},
        {"integral", ShownNumber(texts.Integral)},
        {"remaining_interval", remainingInterval},
    });
}

} // namespace qzr::cli
