#include "ByteOrder.h"
#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "vexalib.h"

#include <array>

using namespace vexa;

namespace {

// bmAttributes of a USB configuration descriptor: bits 7 and 6 are the power
// attributes the library sets, bit 5 is remote wake-up.
constexpr uint8_t powerAttributeBits = 0xC0;
constexpr uint8_t remoteWakeShift = 5;
constexpr uint16_t smallestCurrent = 2;
constexpr uint16_t largestCurrent = 510;
constexpr uint16_t milliamperesPerUnit = 2;

constexpr std::size_t readResponseLength = 31;
constexpr std::size_t vidOffset = 12;
constexpr std::size_t pidOffset = 14;
constexpr std::size_t attributesOffset = 29;
constexpr std::size_t currentOffset = 30;

} // namespace

extern "C" {

int32_t Vexa_GetUsbKeyParams(VexaHandle handle, uint16_t* vid, uint16_t* pid,
                             uint8_t* powerAttributes, uint8_t* remoteWake, uint16_t* maxCurrent)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (!vid || !pid || !powerAttributes || !remoteWake || !maxCurrent)
        return VEXA_NULL_ARGUMENT;
    std::array<uint8_t, readResponseLength> response{};
    if (const auto result = readPowerUpRecord(handle, VEXA_NV_USB_KEY, response); result != VEXA_OK)
        return result;
    *vid = getU16(response.data() + vidOffset);
    *pid = getU16(response.data() + pidOffset);
    *powerAttributes = response[attributesOffset] & powerAttributeBits;
    *remoteWake = (response[attributesOffset] >> remoteWakeShift) & 1;
    *maxCurrent = static_cast<uint16_t>(response[currentOffset] * milliamperesPerUnit);
    return VEXA_OK;
}

int32_t Vexa_SetUsbKeyParams(VexaHandle handle, uint16_t vid, uint16_t pid, uint8_t powerAttributes,
                             uint8_t remoteWake, uint16_t maxCurrent)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    const bool attributesValid =
        (powerAttributes & ~powerAttributeBits) == 0 && (powerAttributes & powerAttributeBits) != 0;
    if (!attributesValid || remoteWake > 1 || maxCurrent < smallestCurrent ||
        maxCurrent > largestCurrent)
        return VEXA_BAD_ARGUMENT_VALUE;
    std::array<uint8_t, 10> command{VEXA_CMD_WRITE_NVRAM, VEXA_NV_USB_KEY};
    putU16(command.data() + 4, vid);
    putU16(command.data() + 6, pid);
    command[8] = static_cast<uint8_t>(powerAttributes | (remoteWake << remoteWakeShift));
    // Odd currents round up to the next whole unit.
    command[9] = static_cast<uint8_t>((maxCurrent + 1) / milliamperesPerUnit);
    return writePowerUpRecord(handle, command);
}

} // extern "C"
