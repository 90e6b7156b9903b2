#pragma once

#include <optional>
#include <string>

#include "sim/bridge/BridgeSettings.h"
#include "sim/bridge/VexaProtocol.h"

// Moving the chip's settings records in and out of command and response
// reports. Every record starts at offset 4.
namespace sim::vexa {

void putSpiTransferSettings(Report& report, const SpiTransferSettings& settings);
SpiTransferSettings takeSpiTransferSettings(const Report& report);

void putChipSettings(Report& report, const ChipSettings& settings);
ChipSettings takeChipSettings(const Report& report);

// The USB key parameters as a read answers them (VID at 12, PID at 14, power
// attributes at 29, maximum current at 30) and as a write carries them (VID at
// 4, PID at 6, power attributes at 8, maximum current at 9).
void putUsbKeyAnswer(Report& report, const UsbKeyParams& params);
UsbKeyParams takeUsbKeyRequest(const Report& report);

// A USB string descriptor at offset 4: length byte 2n + 2, type 0x03 and n
// UTF-16LE code units; a longer text is cut to BridgeChipNvram::MaxStringLength.
void putStringDescriptor(Report& report, const std::u16string& text);
// The text of a well-formed descriptor of at most BridgeChipNvram::MaxStringLength
// code units (an even length byte from 2 to 60, type 0x03); nothing otherwise.
std::optional<std::u16string> takeStringDescriptor(const Report& report);

} // namespace sim::vexa
