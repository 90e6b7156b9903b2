#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Byte values of the Vexa bridge chip's command reports: command codes,
// sub-commands of the power-up settings commands, status bytes, transfer engine
// states, access-control values and pin designations.
namespace sim::vexa {

// Every command and every response is one report of this many data bytes
// (the report-ID byte not counted).
inline constexpr std::size_t ReportSize = 64;
using Report = std::array<std::uint8_t, ReportSize>;

// Data bytes one transfer command carries after its four header bytes, and the
// size of the chip's transmit buffer.
inline constexpr std::size_t ChunkCapacity = 60;

inline constexpr std::size_t PinCount = 9;
inline constexpr std::uint16_t PinMask = 0x01FF;

inline constexpr std::size_t PasswordLength = 8;
using Password = std::array<std::uint8_t, PasswordLength>;

inline constexpr std::size_t EepromSize = 256;

namespace cmd {
inline constexpr std::uint8_t Status = 0x10;
inline constexpr std::uint8_t CancelTransfer = 0x11;
inline constexpr std::uint8_t InterruptCount = 0x12;
inline constexpr std::uint8_t GetChipSettings = 0x20;
inline constexpr std::uint8_t SetChipSettings = 0x21;
inline constexpr std::uint8_t SetPinValues = 0x30;
inline constexpr std::uint8_t GetPinValues = 0x31;
inline constexpr std::uint8_t SetPinDirections = 0x32;
inline constexpr std::uint8_t GetPinDirections = 0x33;
inline constexpr std::uint8_t SetSpiSettings = 0x40;
inline constexpr std::uint8_t GetSpiSettings = 0x41;
inline constexpr std::uint8_t SpiTransfer = 0x42;
inline constexpr std::uint8_t ReadEeprom = 0x50;
inline constexpr std::uint8_t WriteEeprom = 0x51;
inline constexpr std::uint8_t WriteNvram = 0x60;
inline constexpr std::uint8_t ReadNvram = 0x61;
inline constexpr std::uint8_t SendPassword = 0x70;
inline constexpr std::uint8_t BusRelease = 0x80;
inline constexpr std::uint8_t Reset = 0xF0;
// The two bytes that must follow the reset code.
inline constexpr std::uint8_t ResetKey1 = 0xAB;
inline constexpr std::uint8_t ResetKey2 = 0xCD;
} // namespace cmd

// Sub-commands of WriteNvram and ReadNvram.
namespace nv {
inline constexpr std::uint8_t SpiSettings = 0x10;
inline constexpr std::uint8_t ChipSettings = 0x20;
inline constexpr std::uint8_t UsbKey = 0x30;
inline constexpr std::uint8_t ProductName = 0x40;
inline constexpr std::uint8_t ManufacturerName = 0x50;
inline constexpr std::uint8_t SerialNumber = 0x60;
} // namespace nv

namespace status {
inline constexpr std::uint8_t Ok = 0x00;
inline constexpr std::uint8_t TransferRefused = 0xF7;
inline constexpr std::uint8_t Busy = 0xF8;
inline constexpr std::uint8_t EepromRefused = 0xFA;
inline constexpr std::uint8_t Blocked = 0xFB;
inline constexpr std::uint8_t Locked = 0xFC;
inline constexpr std::uint8_t PasswordRefused = 0xFD;
// An unknown command or sub-command, or a request whose fields the chip cannot
// take (a pin designation above 2, a malformed string descriptor).
inline constexpr std::uint8_t Unsupported = 0xFE;
} // namespace status

// Transfer engine state at offset 3 of a transfer response.
namespace xfer {
inline constexpr std::uint8_t Finished = 0x10;
inline constexpr std::uint8_t Started = 0x20;
inline constexpr std::uint8_t DataReady = 0x30;
} // namespace xfer

namespace access {
inline constexpr std::uint8_t Open = 0x00;
inline constexpr std::uint8_t PasswordProtected = 0x40;
inline constexpr std::uint8_t Locked = 0x80;
} // namespace access

namespace pin {
inline constexpr std::uint8_t Gpio = 0;
inline constexpr std::uint8_t ChipSelect = 1;
inline constexpr std::uint8_t Dedicated = 2;
// Pins with a dedicated input or output function.
inline constexpr unsigned InterruptInput = 6;
inline constexpr unsigned BusReleaseAcknowledge = 7;
} // namespace pin

} // namespace sim::vexa
