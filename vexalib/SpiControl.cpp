#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "vexalib.h"

#include <array>

using namespace vexa;

extern "C" {

int32_t Vexa_CancelSpiTxfer(VexaHandle handle, uint8_t* statusByte2, uint8_t* statusByte3)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (statusByte2 == nullptr || statusByte3 == nullptr)
        return VEXA_NULL_ARGUMENT;
    const std::array<uint8_t, 1> command{VEXA_CMD_CANCEL_TRANSFER};
    std::array<uint8_t, 6> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    *statusByte2 = response[2];
    *statusByte3 = response[3];
    return VEXA_OK;
}

int32_t Vexa_RequestSpiBusRel(VexaHandle handle, uint8_t releaseValue)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (releaseValue > 1)
        return VEXA_BAD_ARGUMENT_VALUE;
    const std::array<uint8_t, 2> command{VEXA_CMD_BUS_RELEASE, releaseValue};
    std::array<uint8_t, 2> response{};
    return runCommand(handle, command, response, {{VEXA_ST_BUSY, VEXA_BUS_RELEASE_BUSY}});
}

int32_t Vexa_GetSpiStatus(VexaHandle handle, uint8_t* statusByte2, uint8_t* statusByte3,
                          uint8_t* statusByte10)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (statusByte2 == nullptr || statusByte3 == nullptr || statusByte10 == nullptr)
        return VEXA_NULL_ARGUMENT;
    const std::array<uint8_t, 1> command{VEXA_CMD_STATUS};
    std::array<uint8_t, 11> response{};
    if (const auto result = runCommand(handle, command, response); result != VEXA_OK)
        return result;
    *statusByte2 = response[2];
    *statusByte3 = response[3];
    *statusByte10 = response[10];
    return VEXA_OK;
}

} // extern "C"
