#pragma once

#include "ChipCommands.h"
#include "vexalib.h"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>

// The chip's command transport: one 64-byte command in one output report
// (report ID 0 in front), answered by one 64-byte response in one input
// report. Every report has its own buffer within the call; nothing is kept.
namespace vexa {

inline constexpr std::size_t commandSize = 64;
inline constexpr std::size_t reportSize = 1 + commandSize;

struct ReportTransfer {
    std::int32_t code; // VEXA_OK or the transport's code
    std::size_t count; // command or response bytes moved
};

// Sends `length` command bytes (at most 64, zero-padded to a whole report).
// Fewer bytes accepted than `length` is VEXA_REPORT_IO_FAILED.
ReportTransfer writeCommandReport(VexaHandle handle, const std::uint8_t* command,
                                  std::size_t length);

// Receives the next input report and copies up to `capacity` response bytes.
ReportTransfer readResponseReport(VexaHandle handle, std::uint8_t* buffer, std::size_t capacity);

// A command exchange up to the length check: the write, then the read of a
// response that must be exactly response.size() bytes long (VEXA_FAILED
// otherwise). A failing write or read gives its code and nothing more is sent.
std::int32_t exchangeCommand(VexaHandle handle, std::span<const std::uint8_t> command,
                             std::span<std::uint8_t> response);

struct StatusMapping {
    std::uint8_t status;
    std::int32_t code;
};

// VEXA_OK for status 0, the mapped code for a listed status, otherwise
// VEXA_CHIP_REFUSED.
std::int32_t statusResult(std::uint8_t status, std::initializer_list<StatusMapping> mapping = {});

// The usual exchange: length, then the echo of the command code at offset 0
// (VEXA_ECHO_MISMATCH), then the status at offset 1 through `mapping`.
std::int32_t runCommand(VexaHandle handle, std::span<const std::uint8_t> command,
                        std::span<std::uint8_t> response,
                        std::initializer_list<StatusMapping> mapping = {});

// Reads a power-up record (command 0x61 with sub-command `record`): length,
// echo of the command and the sub-command (offsets 0 and 2), then status.
std::int32_t readPowerUpRecord(VexaHandle handle, std::uint8_t record,
                               std::span<std::uint8_t> response);

// Writes a power-up record (command 0x60; sub-command at offset 1 of
// `command`): a 3-byte response (21 for the SPI settings record) that echoes
// the command, a status of which VEXA_ST_BLOCKED is VEXA_WRITE_BLOCKED, and
// after a good status the echo of the sub-command.
std::int32_t writePowerUpRecord(VexaHandle handle, std::span<const std::uint8_t> command);

} // namespace vexa
