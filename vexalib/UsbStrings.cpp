#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "Utf16Text.h"
#include "vexalib.h"

#include <array>

using namespace vexa;

namespace {

// A USB string descriptor at offset 4: length byte, type byte, characters.
constexpr std::size_t descriptorOffset = 4;
constexpr uint8_t stringDescriptorType = 0x03;
constexpr uint8_t shortestDescriptor = 2;
constexpr uint8_t longestDescriptor = 60;

int32_t readStringDescriptor(VexaHandle handle, uint8_t record, vexa_char16* text)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (text == nullptr)
        return VEXA_NULL_ARGUMENT;
    std::array<uint8_t, commandSize> response{};
    if (const auto result = readPowerUpRecord(handle, record, response); result != VEXA_OK)
        return result;
    const uint8_t length = response[descriptorOffset];
    if (response[descriptorOffset + 1] != stringDescriptorType || length < shortestDescriptor ||
        length > longestDescriptor)
        return VEXA_BAD_STRING_DESCRIPTOR;
    const std::size_t characters = (length - 2) / 2;
    const uint8_t* units = response.data() + descriptorOffset + 2;
    for (std::size_t i = 0; i < characters; ++i)
        text[i] = static_cast<vexa_char16>(units[2 * i] | (units[2 * i + 1] << 8));
    text[characters] = 0;
    return VEXA_OK;
}

int32_t writeStringDescriptor(VexaHandle handle, uint8_t record, const vexa_char16* text)
{
    if (const auto result = checkHandle(handle); result != VEXA_OK)
        return result;
    if (text == nullptr)
        return VEXA_NULL_ARGUMENT;
    const std::size_t characters = boundedLength(text, VEXA_MAX_STRING_CHARS);
    if (characters > VEXA_MAX_STRING_CHARS)
        return VEXA_STRING_TOO_LONG;
    std::array<uint8_t, commandSize> command{VEXA_CMD_WRITE_NVRAM, record};
    command[descriptorOffset] = static_cast<uint8_t>(2 * characters + 2);
    command[descriptorOffset + 1] = stringDescriptorType;
    uint8_t* units = command.data() + descriptorOffset + 2;
    for (std::size_t i = 0; i < characters; ++i) {
        units[2 * i] = static_cast<uint8_t>(text[i]);
        units[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
    }
    return writePowerUpRecord(handle, std::span<const uint8_t>(command.data(), 2 * characters + 6));
}

} // namespace

extern "C" {

int32_t Vexa_GetManufacturerString(VexaHandle handle, vexa_char16* text)
{
    return readStringDescriptor(handle, VEXA_NV_MANUFACTURER_NAME, text);
}

int32_t Vexa_SetManufacturerString(VexaHandle handle, const vexa_char16* text)
{
    return writeStringDescriptor(handle, VEXA_NV_MANUFACTURER_NAME, text);
}

int32_t Vexa_GetProductString(VexaHandle handle, vexa_char16* text)
{
    return readStringDescriptor(handle, VEXA_NV_PRODUCT_NAME, text);
}

int32_t Vexa_SetProductString(VexaHandle handle, const vexa_char16* text)
{
    return writeStringDescriptor(handle, VEXA_NV_PRODUCT_NAME, text);
}

int32_t Vexa_GetSerialNumber(VexaHandle handle, vexa_char16* text)
{
    return readStringDescriptor(handle, VEXA_NV_SERIAL_NUMBER, text);
}

} // extern "C"
