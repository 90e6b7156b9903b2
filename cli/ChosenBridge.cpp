#include "cli/ChosenBridge.h"

#include <array>

namespace qzr::cli {

namespace {

// Result codes of the library's open.
constexpr std::int32_t Opened = 0;
constexpr std::int32_t IndexBeyondCount = -101;
constexpr std::int32_t NoMatchingDevice = -103;
constexpr std::int32_t DeviceInUse = -106;

// Room for a device path in UTF-16 code units, terminating zero included.
constexpr std::size_t PathCapacity = 4096;

} // namespace

TBridgeHandle TChosenBridge::OpenByIndex(std::uint32_t vid, std::uint32_t pid, std::uint32_t,
                                         std::uint16_t*, std::uint32_t*)
{
    bool inUse = false;
    std::array<std::uint16_t, PathCapacity> path{};
    for (std::uint32_t index = 0;; ++index) {
        auto size = static_cast<std::uint32_t>(path.size() * sizeof(std::uint16_t));
        const TBridgeHandle handle = FLibrary.OpenByIndex(vid, pid, index, path.data(), &size);
        const std::int32_t result = FLibrary.GetLastError();
        if (result == Opened) {
            if (QString::fromUtf16(reinterpret_cast<const char16_t*>(path.data())) == FDevicePath) {
                FLastError = Opened;
                return handle;
            }
            FLibrary.Close(handle);
        } else if (result == DeviceInUse) {
            inUse = true;
        } else if (result == IndexBeyondCount || result == NoMatchingDevice) {
            FLastError = inUse ? DeviceInUse : NoMatchingDevice;
            return nullptr;
        } else {
            FLastError = result;
            return nullptr;
        }
    }
}

} // namespace qzr::cli
