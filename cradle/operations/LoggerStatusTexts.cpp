#include "cradle/operations/LoggerStatusTexts.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <QLocale>

#include "protocol/LittleEndian.h"
#include "protocol/LogData.h"

namespace qzr {

namespace {

// Positions in a 0x27 reply.
constexpr std::size_t RemainingDelayAt = 2;
constexpr std::size_t FillPositionAt = 6;
constexpr std::size_t StateAt = 8;
constexpr std::size_t SecondsLeftAt = 10;
constexpr std::size_t MinimumAt = 12;
constexpr std::size_t MaximumAt = 14;
constexpr std::size_t IntegralAt = 16;

// Shown as empty: the logger has not sampled yet in this interval.
constexpr std::int16_t NoMinimum = 32767;
constexpr std::int16_t NoMaximum = -32768;

constexpr int SignificantDigits = 15;
// Magnitudes from here on are written without an exponent.
constexpr int LowestFixedExponent = -5;

QString Decimal(std::uint64_t value)
{
    return QString::number(value);
}

} // namespace

TLoggerStatusTexts NoLoggerStatusTexts()
{
    return {QStringLiteral("--"), {}, {}, {}, {}};
}

std::uint32_t StoredSamples(std::uint16_t fillPosition)
{
    return fillPosition <= LogHeadSize ? 0 : (fillPosition - LogHeadSize) / LogRecordSize;
}

std::optional<TLoggerStatusTexts> LoggerStatusTexts(const std::uint8_t* message, int decimals)
{
    TLoggerStatusTexts texts;
    switch (message[StateAt]) {
    case lsIdle:
        texts.Status = QStringLiteral("Idle");
        break;
    case lsArmed:
        texts.Status = QStringLiteral("Armed: remaining delay ") +
                       Decimal(ReadU32(message + RemainingDelayAt)) + QStringLiteral(" s.");
        break;
    case lsLogging: {
        texts.Status = QStringLiteral("Logging: ") +
                       Decimal(StoredSamples(ReadU16(message + FillPositionAt))) +
                       QStringLiteral(" of ") + Decimal(LogRecordCount) +
                       QStringLiteral(" samples stored.");
        const std::int16_t minimum = ReadS16(message + MinimumAt);
        const std::int16_t maximum = ReadS16(message + MaximumAt);
        if (minimum != NoMinimum)
            texts.Minimum = ScaledValueText(minimum, decimals);
        if (maximum != NoMaximum)
            texts.Maximum = ScaledValueText(maximum, decimals);
        texts.Integral = ScaledValueText(ReadS32(message + IntegralAt), decimals);
        texts.RemainingInterval = Decimal(ReadU16(message + SecondsLeftAt));
        break;
    }
    case lsMemoryFull:
        texts.Status = QStringLiteral("Memory full");
        break;
    case lsBatteryLow:
        texts.Status = QStringLiteral("Battery low");
        break;
    default:
        return std::nullopt;
    }
    return texts;
}

QString ScaledValueText(std::int32_t value, int decimals)
{
    double scaled = value;
    for (int i = 0; i < decimals; ++i)
        scaled /= 10;
    if (scaled == 0)
        return QStringLiteral("0");

    // The significant digits and the decimal exponent, rounded to 15 digits.
    char text[40];
    std::snprintf(text, sizeof text, "%.*e", SignificantDigits - 1, std::fabs(scaled));
    std::string digits = std::string(1, text[0]) + std::string(text + 2, SignificantDigits - 1);
    const int exponent = std::atoi(std::strchr(text, 'e') + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const QString separator = QLocale().decimalPoint();
    QString result = scaled < 0 ? QStringLiteral("-") : QString();
    const int integerDigits = exponent + 1;
    if (exponent < LowestFixedExponent || integerDigits > SignificantDigits) {
        result += QChar(digits[0]);
        if (digits.size() > 1)
            result += separator + QString::fromStdString(digits.substr(1));
        return result + QStringLiteral("E") + QString::number(exponent);
    }
    if (integerDigits <= 0) {
        result += QStringLiteral("0") + separator + QString(-integerDigits, QChar('0'));
        return result + QString::fromStdString(digits);
    }
    const auto whole = static_cast<std::size_t>(integerDigits);
    if (digits.size() <= whole)
        return result + QString::fromStdString(digits) +
               QString(static_cast<int>(whole - digits.size()), QChar('0'));
    return result + QString::fromStdString(digits.substr(0, whole)) + separator +
           QString::fromStdString(digits.substr(whole));
}

} // namespace qzr
