#include "ChipAnswers.h"

#include <algorithm>

namespace vexatest {
namespace {

void put16(Response& at, std::size_t offset, std::uint16_t value)
{
    at[offset] = static_cast<std::uint8_t>(value);
    at[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t get16(const Command& at, std::size_t offset)
{
    return static_cast<std::uint16_t>(at[offset] | (at[offset + 1] << 8));
}

void putSpi(Response& response, const SpiRecord& record)
{
    put16(response, 4, static_cast<std::uint16_t>(record.bitRate));
    put16(response, 6, static_cast<std::uint16_t>(record.bitRate >> 16));
    put16(response, 8, record.idleCsValues);
    put16(response, 10, record.activeCsValues);
    put16(response, 12, record.delay1);
    put16(response, 14, record.delay2);
    put16(response, 16, record.delay3);
    put16(response, 18, record.txferSize);
    response[20] = record.spiMode;
}

void putChip(Response& response, const ChipRecord& record)
{
    std::copy(record.designations.begin(), record.designations.end(), response.begin() + 4);
    put16(response, 13, record.outputs);
    put16(response, 15, record.directions);
    response[17] = record.settingsByte;
}

} // namespace

Response spiSettingsAnswer(std::uint8_t code, const SpiRecord& record)
{
    Response response = reply({code, 0x00, 0x11});
    putSpi(response, record);
    return response;
}

Response powerUpSpiSettingsAnswer(const SpiRecord& record)
{
    Response response = reply({0x61, 0x00, 0x10});
    putSpi(response, record);
    return response;
}

Response chipSettingsAnswer(const ChipRecord& record)
{
    Response response = reply({0x20, 0x00});
    putChip(response, record);
    return response;
}

Response powerUpChipSettingsAnswer(const ChipRecord& record, std::uint8_t accessControl)
{
    Response response = reply({0x61, 0x00, 0x20});
    putChip(response, record);
    response[18] = accessControl;
    return response;
}

Response transferAnswer(std::uint8_t status, std::uint8_t count, std::uint8_t state,
                        std::uint8_t fill)
{
    Response response = reply({0x42, status, count, state});
    std::fill(response.begin() + 4, response.end(), fill);
    return response;
}

ScriptedBusDevice::Script answersByCode(std::map<std::uint8_t, Response> answers)
{
    return [answers = std::move(answers)](const Command& command) -> std::vector<Response> {
        const auto found = answers.find(command[0]);
        if (found == answers.end())
            return {};
        return {found->second};
    };
}

SpiRecord spiRecordOf(const Command& command)
{
    SpiRecord record;
    record.bitRate = get16(command, 4) | (static_cast<std::uint32_t>(get16(command, 6)) << 16);
    record.idleCsValues = get16(command, 8);
    record.activeCsValues = get16(command, 10);
    record.delay1 = get16(command, 12);
    record.delay2 = get16(command, 14);
    record.delay3 = get16(command, 16);
    record.txferSize = get16(command, 18);
    record.spiMode = command[20];
    return record;
}

ChipRecord chipRecordOf(const Command& command)
{
    ChipRecord record;
    std::copy_n(command.begin() + 4, 9, record.designations.begin());
    record.outputs = get16(command, 13);
    record.directions = get16(command, 15);
    record.settingsByte = command[17];
    return record;
}

} // namespace vexatest
