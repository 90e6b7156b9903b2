#include "platform/VirtualBusPlatform.h"

#include "Utf16Text.h"
#include "platform/DeviceNames.h"
#include "platform/KeyValueText.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <utility>

namespace vexa::platform {
namespace {

constexpr std::uint8_t requestExclusiveOpen = 0x02;
constexpr std::uint8_t answerOpened = 0x00;
constexpr std::uint8_t answerSharingConflict = 0x01;
constexpr int handshakeTimeoutMs = VEXA_REPORT_TIMEOUT_MS;

bool isDeviceName(std::string_view name)
{
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-';
    });
}

bool isSocket(const std::string& path)
{
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISSOCK(status.st_mode);
}

std::uint16_t numberValue(const std::optional<std::string>& text)
{
    return text ? static_cast<std::uint16_t>(std::strtoul(text->c_str(), nullptr, 0)) : 0;
}

// One device of the bus as found in the directory, before sorting.
struct BusEntry {
    std::string name;
    std::uint16_t vid;
    std::uint16_t pid;
    DeviceRecord record;
};

// Waits for the one-byte answer to the open request.
std::optional<std::uint8_t> receiveAnswer(int fd)
{
    pollfd entry{fd, POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&entry, 1, handshakeTimeoutMs);
    } while (ready < 0 && errno == EINTR);
    if (ready <= 0)
        return std::nullopt;
    std::uint8_t answer = 0;
    ssize_t got;
    do {
        got = ::recv(fd, &answer, 1, MSG_DONTWAIT);
    } while (got < 0 && errno == EINTR);
    if (got != 1)
        return std::nullopt;
    return answer;
}

// The present devices of the bus directory in ascending byte order of NAME.
std::int32_t scanBus(const std::string& directory, std::vector<BusEntry>& found)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    if (error)
        return VEXA_FAILED;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const std::string fileName = entries->path().filename().string();
        if (fileName.size() <= 4 || !fileName.ends_with(".dev"))
            continue;
        const std::string name = fileName.substr(0, fileName.size() - 4);
        const std::string socketPath = directory + "/" + name + ".sock";
        if (!isDeviceName(name) || !isSocket(socketPath))
            continue;
        // A descriptor that vanished since the listing belongs to a device
        // that was just unplugged: it is no longer present.
        const auto descriptor = readSmallFile(directory + "/" + name + ".dev");
        if (!descriptor)
            continue;
        BusEntry entry{name,
                       numberValue(valueOf(*descriptor, "vid")),
                       numberValue(valueOf(*descriptor, "pid")),
                       {}};
        entry.record.hardwareId = hidHardwareId(entry.vid, entry.pid);
        entry.record.path = socketPath;
        if (const auto serial = valueOf(*descriptor, "serial"); serial && !serial->empty())
            entry.record.serialNumber = utf8ToUtf16(*serial);
        entry.record.kind = DescriptorKind::busConnection;
        found.push_back(std::move(entry));
    }
    if (error)
        return VEXA_FAILED;
    std::sort(found.begin(), found.end(),
              [](const BusEntry& a, const BusEntry& b) { return a.name < b.name; });
    return VEXA_OK;
}

} // namespace

VirtualBusPlatform::VirtualBusPlatform(std::string directory) : directory_(std::move(directory))
{
    // Device paths are full paths, also when the bus is named relatively.
    std::error_code error;
    auto full = std::filesystem::absolute(directory_, error).lexically_normal().string();
    while (full.size() > 1 && full.back() == '/')
        full.pop_back();
    if (!error)
        directory_ = std::move(full);
}

std::int32_t VirtualBusPlatform::listDevices(std::vector<DeviceRecord>& devices) const
{
    std::vector<BusEntry> found;
    const std::int32_t result = scanBus(directory_, found);
    if (result != VEXA_OK)
        return result;
    devices.clear();
    for (auto& entry : found)
        devices.push_back(std::move(entry.record));
    return VEXA_OK;
}

std::int32_t VirtualBusPlatform::openExclusive(const DeviceRecord& device, VexaHandle& handle) const
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (device.path.size() >= sizeof address.sun_path)
        return VEXA_OPEN_REFUSED;
    std::memcpy(address.sun_path, device.path.c_str(), device.path.size() + 1);

    const int fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return VEXA_OPEN_REFUSED;
    const auto refuse = [fd](std::int32_t code) {
        ::close(fd);
        return code;
    };
    // A device whose listen queue is full would keep connect waiting: bound
    // the wait as every other step of the open is bounded.
    const timeval limit{handshakeTimeoutMs / 1000, (handshakeTimeoutMs % 1000) * 1000};
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return refuse(VEXA_OPEN_REFUSED);
    if (::send(fd, &requestExclusiveOpen, 1, MSG_NOSIGNAL) != 1)
        return refuse(VEXA_OPEN_REFUSED);
    const auto answer = receiveAnswer(fd);
    if (answer == answerSharingConflict)
        return refuse(VEXA_DEVICE_IN_USE);
    if (answer != answerOpened)
        return refuse(VEXA_OPEN_REFUSED);
    handle = encodeHandle({fd, DescriptorKind::busConnection});
    return VEXA_OK;
}

std::int32_t VirtualBusPlatform::listHidUsbInstances(std::vector<std::u16string>& instances) const
{
    std::vector<BusEntry> found;
    const std::int32_t result = scanBus(directory_, found);
    if (result != VEXA_OK)
        return result;
    instances.clear();
    for (const auto& entry : found) {
        if (entry.record.serialNumber)
            instances.push_back(hidUsbInstance(entry.vid, entry.pid, *entry.record.serialNumber));
    }
    return VEXA_OK;
}

} // namespace vexa::platform
