#pragma once

#include "ScriptedBusDevice.h"

#include <array>
#include <cstdint>
#include <map>

// Responses in the chip's layouts, for scripts of scripted bridges.
namespace vexatest {

struct SpiRecord {
    std::uint32_t bitRate = 4000;
    std::uint16_t idleCsValues = 0x1FF;
    std::uint16_t activeCsValues = 0x1EF;
    std::uint16_t delay1 = 0;
    std::uint16_t delay2 = 0;
    std::uint16_t delay3 = 20;
    std::uint16_t txferSize = 1;
    std::uint8_t spiMode = 0;
};

struct ChipRecord {
    std::array<std::uint8_t, 9> designations{};
    std::uint16_t outputs = 0;
    std::uint16_t directions = 0;
    std::uint8_t settingsByte = 0;
};

// 0x40 / 0x41: code, status 0, record length 0x11, then the record at 4.
Response spiSettingsAnswer(std::uint8_t code, const SpiRecord& record);
// 0x61 / 0x10: the power-up SPI settings.
Response powerUpSpiSettingsAnswer(const SpiRecord& record);
// 0x20: the current chip settings.
Response chipSettingsAnswer(const ChipRecord& record);
// 0x61 / 0x20: the power-up chip settings and the access-control byte.
Response powerUpChipSettingsAnswer(const ChipRecord& record, std::uint8_t accessControl);
// 0x42: status, received count, engine state and received bytes.
Response transferAnswer(std::uint8_t status, std::uint8_t count, std::uint8_t state,
                        std::uint8_t fill = 0);

// A script that answers every command by its code from the table; commands
// of other codes get no answer.
ScriptedBusDevice::Script answersByCode(std::map<std::uint8_t, Response> answers);

// Decoders of what the library sent.
SpiRecord spiRecordOf(const Command& command);
ChipRecord chipRecordOf(const Command& command);

} // namespace vexatest
