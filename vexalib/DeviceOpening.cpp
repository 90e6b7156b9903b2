#include "DeviceMatching.h"
#include "ExportGuard.h"
#include "LastError.h"
#include "Utf16Text.h"
#include "platform/ActivePlatform.h"
#include "platform/DeviceIo.h"
#include "vexalib.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace vexa {
namespace {

using platform::DeviceRecord;
using platform::Platform;

// Where the caller wants the opened device's path; no buffer or a capacity of
// 0 means no path is wanted.
struct PathRequest {
    vexa_char16* buffer;
    uint32_t* size;

    bool wanted() const { return buffer != nullptr && size != nullptr && *size > 0; }
};

// Hands an opened device to the caller, with its path when wanted. A buffer
// too small for the path gets the needed size in bytes, and the device is
// closed again.
std::int32_t handOver(VexaHandle opened, std::u16string_view shownPath, PathRequest path,
                      VexaHandle& handle)
{
    if (path.wanted()) {
        const std::size_t needed = (shownPath.size() + 1) * sizeof(vexa_char16);
        if (*path.size < needed) {
            *path.size = static_cast<uint32_t>(needed);
            platform::closeDevice(opened);
            return VEXA_PATH_BUFFER_SHORT;
        }
        std::copy(shownPath.begin(), shownPath.end(), path.buffer);
        path.buffer[shownPath.size()] = 0;
    }
    handle = opened;
    return VEXA_OK;
}

// The present devices that match the VID/PID, in enumeration order.
std::int32_t listMatchingDevices(const Platform& platform, uint32_t vid, uint32_t pid,
                                 std::vector<DeviceRecord>& matching)
{
    std::vector<DeviceRecord> devices;
    if (platform.listDevices(devices) != VEXA_OK)
        return VEXA_FAILED;
    const std::string pattern = vidPidPattern(vid, pid);
    std::copy_if(devices.begin(), devices.end(), std::back_inserter(matching),
                 [&](const DeviceRecord& device) { return matchesVidPid(device, pattern); });
    return VEXA_OK;
}

std::int32_t countMatches(const Platform& platform, uint32_t vid, uint32_t pid)
{
    std::vector<DeviceRecord> matching;
    if (const auto result = listMatchingDevices(platform, vid, pid, matching); result != VEXA_OK)
        return result;
    return static_cast<std::int32_t>(matching.size());
}

std::int32_t openByIndex(const Platform& platform, uint32_t vid, uint32_t pid, uint32_t index,
                         PathRequest path, VexaHandle& handle)
{
    std::vector<DeviceRecord> matching;
    if (const auto result = listMatchingDevices(platform, vid, pid, matching); result != VEXA_OK)
        return result;
    if (matching.empty())
        return VEXA_NO_MATCHING_DEVICE;
    if (index >= matching.size())
        return VEXA_INDEX_BEYOND_COUNT;
    const DeviceRecord& device = matching[index];
    // Converted before the open, so that nothing can fail between a
    // successful open and the return of its handle.
    const std::u16string shownPath = utf8ToUtf16(device.path);
    VexaHandle opened = VEXA_INVALID_HANDLE;
    if (const auto result = platform.openExclusive(device, opened); result != VEXA_OK)
        return result;
    return handOver(opened, shownPath, path, handle);
}

std::int32_t openBySerialNumber(const Platform& platform, uint32_t vid, uint32_t pid,
                                std::u16string_view serial, PathRequest path, VexaHandle& handle)
{
    if (const auto known = serialKnownToHidUsb(platform, vid, pid, serial); known != VEXA_OK)
        return known;
    std::vector<DeviceRecord> matching;
    if (const auto result = listMatchingDevices(platform, vid, pid, matching); result != VEXA_OK)
        return result;
    if (matching.empty())
        return VEXA_NO_MATCHING_DEVICE;
    bool anyInUse = false;
    for (const auto& device : matching) {
        const std::u16string shownPath = utf8ToUtf16(device.path);
        // Every matching device is opened in turn; one held elsewhere may
        // still be the wanted one, so it is remembered and the walk goes on.
        VexaHandle opened = VEXA_INVALID_HANDLE;
        const auto result = platform.openExclusive(device, opened);
        if (result == VEXA_DEVICE_IN_USE) {
            anyInUse = true;
            continue;
        }
        if (result != VEXA_OK)
            return result;
        if (device.serialNumber &&
            equalsIgnoringCase(*device.serialNumber, serial, maximumSerialChars))
            return handOver(opened, shownPath, path, handle);
        platform::closeDevice(opened);
    }
    return anyInUse ? VEXA_DEVICE_IN_USE : VEXA_SERIAL_NOT_PRESENT;
}

// Stores the open's result for Vexa_GetLastError and returns its handle.
VexaHandle finishOpen(std::int32_t result, VexaHandle handle)
{
    storeLastError(result);
    return result == VEXA_OK ? handle : VEXA_INVALID_HANDLE;
}

} // namespace
} // namespace vexa

using namespace vexa;

extern "C" {

int32_t Vexa_GetConnectedDevCount(uint32_t vid, uint32_t pid)
{
    return guardedCall([&] {
        return platform::withActivePlatform(
            [&](const Platform& platform) { return countMatches(platform, vid, pid); });
    });
}

VexaHandle Vexa_OpenByIndex(uint32_t vid, uint32_t pid, uint32_t index, vexa_char16* devicePath,
                            uint32_t* devicePathSize)
{
    VexaHandle handle = VEXA_INVALID_HANDLE;
    const auto result = guardedCall([&] {
        return platform::withActivePlatform([&](const Platform& platform) {
            return openByIndex(platform, vid, pid, index, {devicePath, devicePathSize}, handle);
        });
    });
    return finishOpen(result, handle);
}

VexaHandle Vexa_OpenBySN(uint32_t vid, uint32_t pid, const vexa_char16* serialNumber,
                         vexa_char16* devicePath, uint32_t* devicePathSize)
{
    if (serialNumber == nullptr)
        return finishOpen(VEXA_NULL_ARGUMENT, VEXA_INVALID_HANDLE);
    VexaHandle handle = VEXA_INVALID_HANDLE;
    const auto result = guardedCall([&] {
        // One character past the limit is enough to tell a serial number
        // that is too long.
        const std::u16string serial(reinterpret_cast<const char16_t*>(serialNumber),
                                    boundedLength(serialNumber, maximumSerialChars));
        return platform::withActivePlatform([&](const Platform& platform) {
            return openBySerialNumber(platform, vid, pid, serial, {devicePath, devicePathSize},
                                      handle);
        });
    });
    return finishOpen(result, handle);
}

} // extern "C"
