#include "ByteOrder.h"
#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "vexalib.h"

#include <array>

using namespace vexa;

extern "C" {

int32_t Vexa_ReadEEProm(VexaHandle handle, uint8_t address, uint8_t* value)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (value == nullptr)
        return VEXA_NULL_ARGUMENT;
    const std::array<uint8_t, 2> command{VEXA_CMD_READ_EEPROM, address};
    std::array<uint8_t, 4> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    if (response[2] != address)
        return VEXA_ECHO_MISMATCH;
    *value = response[3];
    return VEXA_OK;
}

int32_t Vexa_WriteEEProm(VexaHandle handle, uint8_t address, uint8_t value)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    const std::array<uint8_t, 3> command{VEXA_CMD_WRITE_EEPROM, address, value};
    std::array<uint8_t, 2> response{};
    return runCommand(handle, command, response,
                      {{VEXA_ST_EEPROM_REFUSED, VEXA_EEPROM_WRITE_REFUSED},
                       {VEXA_ST_BLOCKED, VEXA_WRITE_BLOCKED}});
}

int32_t Vexa_GetInterruptCount(VexaHandle handle, uint32_t* count, uint8_t resetSelector)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (count == nullptr)
        return VEXA_NULL_ARGUMENT;
    const std::array<uint8_t, 2> command{VEXA_CMD_INTERRUPT_COUNT, resetSelector};
    std::array<uint8_t, 6> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    *count = getU16(response.data() + 4);
    return VEXA_OK;
}

} // extern "C"
