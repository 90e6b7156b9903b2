#include "sim/program/LoggerCommands.h"

#include <algorithm>
#include <charconv>
#include <ctime>
#include <limits>
#include <stdexcept>

#include "protocol/LogData.h"

namespace sim {
namespace {

using std::chrono::days;
using std::chrono::sys_days;

const sys_days UnitEpoch = std::chrono::year{2000} / 1 / 1;

int parseNumber(std::string_view digits, std::string_view whole, const char* example)
{
    int value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        throw std::invalid_argument(std::string("expected ") + example + ", not '" +
                                    std::string(whole) + "'");
    }
    return value;
}

std::int64_t unitSeconds(sys_days day, std::int64_t secondOfDay)
{
    return (day - UnitEpoch).count() * std::int64_t{86400} + secondOfDay;
}

} // namespace

std::chrono::seconds parseClockAdvance(std::string_view text)
{
    constexpr const char* Example = "a duration such as 90s, 15m, 12h or 2d";
    std::string_view digits = text;
    std::int64_t unit = 1;
    if (!digits.empty() && std::string_view("smhd").find(digits.back()) != std::string_view::npos) {
        const char suffix = digits.back();
        unit = suffix == 'd' ? 86400 : suffix == 'h' ? 3600 : suffix == 'm' ? 60 : 1;
        digits.remove_suffix(1);
    }
    const std::int64_t amount = parseNumber(digits, text, Example);
    if (amount <= 0) {
        throw std::invalid_argument(std::string("expected ") + Example + ", not '" +
                                    std::string(text) + "'");
    }
    const std::chrono::seconds duration{amount * unit};
    if (duration > LongestClockAdvance) {
        throw std::invalid_argument("the clock runs ahead at most 31 days at a time");
    }
    return duration;
}

std::int32_t parseRecordingStart(std::string_view date, std::string_view time)
{
    constexpr const char* DateExample = "a date such as 2024-03-12";
    constexpr const char* TimeExample = "a time such as 08:00";
    if (date.size() != 10 || date[4] != '-' || date[7] != '-') {
        throw std::invalid_argument(std::string("expected ") + DateExample + ", not '" +
                                    std::string(date) + "'");
    }
    const std::chrono::year_month_day day{
        std::chrono::year{parseNumber(date.substr(0, 4), date, DateExample)},
        std::chrono::month{
            static_cast<unsigned>(parseNumber(date.substr(5, 2), date, DateExample))},
        std::chrono::day{static_cast<unsigned>(parseNumber(date.substr(8, 2), date, DateExample))}};
    if (!day.ok()) {
        throw std::invalid_argument(std::string("expected ") + DateExample + ", not '" +
                                    std::string(date) + "'");
    }
    int secondOfDay = 0;
    if (!time.empty()) {
        const int hour = time.size() == 5 && time[2] == ':'
                             ? parseNumber(time.substr(0, 2), time, TimeExample)
                             : -1;
        const int minute = hour >= 0 ? parseNumber(time.substr(3, 2), time, TimeExample) : -1;
        if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
            throw std::invalid_argument(std::string("expected ") + TimeExample + ", not '" +
                                        std::string(time) + "'");
        }
        secondOfDay = 3600 * hour + 60 * minute;
    }
    const std::int64_t seconds = unitSeconds(sys_days{day}, secondOfDay);
    if (seconds < 0 || seconds > std::numeric_limits<std::int32_t>::max()) {
        throw std::invalid_argument("a recording starts between 2000-01-01 and 2068-01-19");
    }
    return static_cast<std::int32_t>(seconds);
}

std::int32_t unitSecondsNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    const sys_days day =
        std::chrono::year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday;
    const std::int64_t seconds =
        unitSeconds(day, 3600 * local.tm_hour + 60 * local.tm_min + local.tm_sec);
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(seconds, 0, std::numeric_limits<std::int32_t>::max()));
}

std::string describeLogger(const Zt46Unit& unit)
{
    const std::uint16_t fill = unit.loggerFillPosition();
    const std::size_t records =
        fill > qzr::LogHeadSize ? (fill - qzr::LogHeadSize) / qzr::LogRecordSize : 0;
    const std::string held =
        std::to_string(records) + " of " + std::to_string(qzr::LogRecordCount) + " records";
    switch (unit.loggerState()) {
    case qzr::lsIdle:
        return "logger idle, " + held;
    case qzr::lsArmed:
        return "logger armed, logging starts in " + std::to_string(unit.loggerRemainingDelay()) +
               " s, " + held;
    case qzr::lsLogging:
        return "logger logging, " + held;
    case qzr::lsMemoryFull:
        return "logger memory full, " + held;
    case qzr::lsBatteryLow:
        return "logger stopped by a low battery, " + held;
    }
    return "logger in state " + std::to_string(int{unit.loggerState()}) + ", " + held;
}

} // namespace sim
