#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "sim/bridge/VexaProtocol.h"
#include <protocol/CradleIdentifiers.h>

// The settings records the bridge chip keeps, each as it travels in the
// command reports (little-endian, from offset 4 of the report).
namespace sim {

// SPI transfer settings: offsets 4-20 of commands 0x40, 0x41 and of the
// power-up form (sub-command 0x10 of 0x60 and 0x61).
struct SpiTransferSettings {
    std::uint32_t bitRate = 4000;
    std::uint16_t idleCsValues = 0x01FF;
    std::uint16_t activeCsValues = 0x01EF;
    std::uint16_t delay1 = 0;
    std::uint16_t delay2 = 0;
    std::uint16_t delay3 = 20;
    std::uint16_t txferSize = 32;
    std::uint8_t spiMode = 0;

    bool operator==(const SpiTransferSettings&) const = default;
};

// Pin configuration: offsets 4-17 of commands 0x20, 0x21 and of the power-up
// form (sub-command 0x20). The current form's outputs and directions are the
// live output latch and direction register of the pins; a direction bit of 1
// makes the pin an input.
struct ChipSettings {
    std::array<std::uint8_t, vexa::PinCount> pinDesignations{0, 0, 0, 0, vexa::pin::ChipSelect,
                                                             0, 0, 0, 0};
    std::uint16_t defaultOutputs = 0x01FF;
    std::uint16_t defaultDirections = 0x0000;
    // Bit 4: remote wake-up; bits 1-3: interrupt counting mode (0 off,
    // 1 falling edges, 2 rising edges, 3 low pulses, 4 high pulses);
    // bit 0: SPI bus release enabled.
    std::uint8_t settingsByte = 0;

    bool operator==(const ChipSettings&) const = default;
};

// USB identity and power parameters (sub-command 0x30). `powerAttributes` is
// the bmAttributes byte with the remote-wake flag in bit 5; `maxCurrentUnits`
// counts 2 mA.
struct UsbKeyParams {
    std::uint16_t vid = qzr::CradleVendorId;
    std::uint16_t pid = qzr::BridgeCradleProductId;
    std::uint8_t powerAttributes = 0x80;
    std::uint8_t maxCurrentUnits = 50;

    bool operator==(const UsbKeyParams&) const = default;
};

// Everything the chip keeps over a restart: the power-up settings, the
// protection of those settings, the USB identity and strings, and the user
// EEPROM. The strings hold at most MaxStringLength UTF-16 code units. The
// defaults are the factory contents of a cradle's chip: the bridge cradle's
// USB identity, and an SPI link to the unit at 4000 bit/s with pin 4 as the
// unit's chip select, active low; the EEPROM is erased (0xFF).
struct BridgeChipNvram {
    static constexpr std::size_t MaxStringLength = 29;

    SpiTransferSettings spiSettings;
    ChipSettings chipSettings;
    std::uint8_t accessControl = vexa::access::Open;
    vexa::Password password{};
    UsbKeyParams usbKey;
    std::u16string manufacturer = u"Sorvik";
    std::u16string product = u"Vexa USB-SPI bridge";
    std::u16string serialNumber = u"VX00000001";
    std::array<std::uint8_t, vexa::EepromSize> eeprom = [] {
        std::array<std::uint8_t, vexa::EepromSize> erased;
        erased.fill(0xFF);
        return erased;
    }();
};

} // namespace sim
