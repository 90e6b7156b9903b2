#include "ByteOrder.h"
#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "vexalib.h"

#include <array>

using namespace vexa;

namespace {

constexpr std::size_t pinWordOffset = 4;

// Commands that read a pin word: 0x31 (levels) and 0x33 (directions).
int32_t readPinWord(VexaHandle handle, uint8_t code, uint32_t* word)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (word == nullptr)
        return VEXA_NULL_ARGUMENT;
    const std::array<uint8_t, 1> command{code};
    std::array<uint8_t, 6> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    *word = getU16(response.data() + pinWordOffset);
    return VEXA_OK;
}

std::array<uint8_t, 6> pinWordCommand(uint8_t code, uint32_t word)
{
    std::array<uint8_t, 6> command{code};
    putU16(command.data() + pinWordOffset, static_cast<uint16_t>(word));
    return command;
}

} // namespace

extern "C" {

int32_t Vexa_GetGpioPinDir(VexaHandle handle, uint32_t* directions)
{
    return readPinWord(handle, VEXA_CMD_GET_PIN_DIRECTIONS, directions);
}

int32_t Vexa_SetGpioPinDir(VexaHandle handle, uint32_t directions)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    const auto command = pinWordCommand(VEXA_CMD_SET_PIN_DIRECTIONS, directions);
    std::array<uint8_t, 2> response{};
    return runCommand(handle, command, response);
}

int32_t Vexa_GetGpioPinVal(VexaHandle handle, uint32_t* values)
{
    return readPinWord(handle, VEXA_CMD_GET_PIN_VALUES, values);
}

int32_t Vexa_SetGpioPinVal(VexaHandle handle, uint32_t values, uint32_t* newValues)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (newValues == nullptr)
        return VEXA_NULL_ARGUMENT;
    const auto command = pinWordCommand(VEXA_CMD_SET_PIN_VALUES, values);
    std::array<uint8_t, 6> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    *newValues = getU16(response.data() + pinWordOffset);
    return VEXA_OK;
}

} // extern "C"
