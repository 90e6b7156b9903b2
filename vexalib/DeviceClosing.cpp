#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "platform/DeviceIo.h"
#include "vexalib.h"

#include <array>

using namespace vexa;

extern "C" {

int32_t Vexa_Close(VexaHandle handle)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    return platform::closeDevice(handle);
}

int32_t Vexa_Reset(VexaHandle handle)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    // The chip restarts at once and sends no response.
    const std::array<uint8_t, 3> command{VEXA_CMD_RESET, 0xAB, 0xCD};
    const auto write = writeCommandReport(handle, command.data(), command.size());
    if (write.code != VEXA_OK)
        return write.code;
    return platform::closeDevice(handle) == VEXA_OK ? VEXA_OK : VEXA_CLOSE_REFUSED;
}

} // extern "C"
