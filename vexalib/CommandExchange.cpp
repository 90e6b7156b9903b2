#include "CommandExchange.h"

#include "ChipCommands.h"
#include "platform/DeviceIo.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace vexa {
namespace {

constexpr std::size_t codeOffset = 0;
constexpr std::size_t statusOffset = 1;
constexpr std::size_t subCommandOffset = 2;
constexpr std::size_t powerUpWriteResponseLength = 3;
constexpr std::size_t spiSettingsResponseLength = 21;

} // namespace

ReportTransfer writeCommandReport(VexaHandle handle, const std::uint8_t* command,
                                  std::size_t length)
{
    std::array<std::uint8_t, reportSize> report{};
    std::memcpy(report.data() + 1, command, std::min(length, commandSize));
    const auto io =
        platform::writeReport(handle, report.data(), report.size(), VEXA_REPORT_TIMEOUT_MS);
    if (io.code != VEXA_OK)
        return {io.code, 0};
    const std::size_t written = io.count > 0 ? io.count - 1 : 0;
    if (written >= length)
        return {VEXA_OK, length};
    return {VEXA_REPORT_IO_FAILED, written};
}

ReportTransfer readResponseReport(VexaHandle handle, std::uint8_t* buffer, std::size_t capacity)
{
    std::array<std::uint8_t, reportSize> report{};
    const auto io =
        platform::readReport(handle, report.data(), report.size(), VEXA_REPORT_TIMEOUT_MS);
    if (io.code != VEXA_OK)
        return {io.code, 0};
    const std::size_t copied = std::min(io.count - 1, capacity);
    std::memcpy(buffer, report.data() + 1, copied);
    return {VEXA_OK, copied};
}

std::int32_t exchangeCommand(VexaHandle handle, std::span<const std::uint8_t> command,
                             std::span<std::uint8_t> response)
{
    const auto write = writeCommandReport(handle, command.data(), command.size());
    if (write.code != VEXA_OK)
        return write.code;
    const auto read = readResponseReport(handle, response.data(), response.size());
    if (read.code != VEXA_OK)
        return read.code;
    return read.count == response.size() ? VEXA_OK : VEXA_FAILED;
}

std::int32_t statusResult(std::uint8_t status, std::initializer_list<StatusMapping> mapping)
{
    if (status == 0)
        return VEXA_OK;
    for (const auto& entry : mapping) {
        if (entry.status == status)
            return entry.code;
    }
    return VEXA_CHIP_REFUSED;
}

std::int32_t runCommand(VexaHandle handle, std::span<const std::uint8_t> command,
                        std::span<std::uint8_t> response,
                        std::initializer_list<StatusMapping> mapping)
{
    if (const auto result = exchangeCommand(handle, command, response); result != VEXA_OK)
        return result;
    if (response[codeOffset] != command[codeOffset])
        return VEXA_ECHO_MISMATCH;
    return statusResult(response[statusOffset], mapping);
}

std::int32_t readPowerUpRecord(VexaHandle handle, std::uint8_t record,
                               std::span<std::uint8_t> response)
{
    const std::array<std::uint8_t, 2> command{VEXA_CMD_READ_NVRAM, record};
    if (const auto result = exchangeCommand(handle, command, response); result != VEXA_OK)
        return result;
    if (response[codeOffset] != VEXA_CMD_READ_NVRAM || response[subCommandOffset] != record)
        return VEXA_ECHO_MISMATCH;
    return statusResult(response[statusOffset]);
}

std::int32_t writePowerUpRecord(VexaHandle handle, std::span<const std::uint8_t> command)
{
    const std::uint8_t record = command[1];
    std::array<std::uint8_t, spiSettingsResponseLength> buffer{};
    const std::size_t length =
        record == VEXA_NV_SPI_SETTINGS ? spiSettingsResponseLength : powerUpWriteResponseLength;
    const std::span<std::uint8_t> response(buffer.data(), length);
    if (const auto result = exchangeCommand(handle, command, response); result != VEXA_OK)
        return result;
    if (response[codeOffset] != VEXA_CMD_WRITE_NVRAM)
        return VEXA_ECHO_MISMATCH;
    const std::uint8_t status = response[statusOffset];
    // A busy answer to new SPI settings counts only when it names the record.
    if (record == VEXA_NV_SPI_SETTINGS && status == VEXA_ST_BUSY)
        return response[subCommandOffset] == record ? VEXA_SPI_SETTINGS_BUSY : VEXA_ECHO_MISMATCH;
    if (const auto result = statusResult(status, {{VEXA_ST_BLOCKED, VEXA_WRITE_BLOCKED}});
        result != VEXA_OK)
        return result;
    return response[subCommandOffset] == record ? VEXA_OK : VEXA_ECHO_MISMATCH;
}

} // namespace vexa
