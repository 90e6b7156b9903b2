#pragma once

#include <cstdint>
#include <optional>

#include <QString>

namespace qzr {

// The five texts of the logger status on the "Datalogger" sheet. The status
// texts are the system's own English texts and are not translated.
struct TLoggerStatusTexts {
    QString Status;
    QString Minimum;
    QString Maximum;
    QString Integral;
    QString RemainingInterval;

    bool operator==(const TLoggerStatusTexts&) const = default;
};

// What the sheet shows before the first status reply: "--" and four empty
// texts.
TLoggerStatusTexts NoLoggerStatusTexts();

// The texts for a 0x27 reply (`message` the whole message, ID at 0, status
// from byte 2 to 19), the values shown with `decimals` decimals. No texts
// (std::nullopt) for a logger state the program does not know: the sheet then
// keeps what it shows.
std::optional<TLoggerStatusTexts> LoggerStatusTexts(const std::uint8_t* message, int decimals);

// The logged samples a fill position stands for: 0 up to the end of the head
// (14), then one per 8-byte record.
std::uint32_t StoredSamples(std::uint16_t fillPosition);

// `value` divided by 10 `decimals` times, in the shortest general form: up to
// 15 significant digits, no trailing zeros, the locale's decimal separator,
// an exponent only for magnitudes below 0.00001 (1234, 2 gives "12.34"; 1200,
// 2 gives "12"; -5, 1 gives "-0.5").
QString ScaledValueText(std::int32_t value, int decimals);

} // namespace qzr
