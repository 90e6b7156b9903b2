#include "platform/HidrawPlatform.h"

#include "Utf16Text.h"
#include "platform/DeviceNames.h"
#include "platform/KeyValueText.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <utility>

namespace vexa::platform {
namespace {

constexpr std::string_view hidrawPrefix = "hidraw";

// The listing of a directory; a directory that does not exist is empty (no
// hidraw node exists, or no USB HID device is bound).
std::int32_t listDirectory(const std::string& directory, std::vector<std::string>& names)
{
    std::error_code error;
    std::filesystem::directory_iterator entries(directory, error);
    if (error)
        return error == std::errc::no_such_file_or_directory ? VEXA_OK : VEXA_FAILED;
    for (; entries != std::filesystem::directory_iterator(); entries.increment(error))
        names.push_back(entries->path().filename().string());
    return error ? VEXA_FAILED : VEXA_OK;
}

// The number of a "hidrawN" name, or -1.
long nodeNumber(std::string_view name)
{
    if (!name.starts_with(hidrawPrefix) || name.size() == hidrawPrefix.size())
        return -1;
    const std::string digits(name.substr(hidrawPrefix.size()));
    char* end = nullptr;
    const long number = std::strtol(digits.c_str(), &end, 10);
    return (*end == '\0' && number >= 0) ? number : -1;
}

// Vendor and product from a uevent "HID_ID=bus:vendor:product" value (hex).
std::optional<std::pair<std::uint16_t, std::uint16_t>> parseHidId(const std::string& value)
{
    const auto first = value.find(':');
    const auto second = value.find(':', first == std::string::npos ? first : first + 1);
    if (first == std::string::npos || second == std::string::npos)
        return std::nullopt;
    const auto vid = std::strtoul(value.c_str() + first + 1, nullptr, 16);
    const auto pid = std::strtoul(value.c_str() + second + 1, nullptr, 16);
    return std::pair{static_cast<std::uint16_t>(vid), static_cast<std::uint16_t>(pid)};
}

// A sysfs attribute file without its trailing newline.
std::optional<std::string> readAttribute(const std::string& path)
{
    auto text = readSmallFile(path);
    if (text && !text->empty() && text->back() == '\n')
        text->pop_back();
    return text;
}

} // namespace

bool descriptorUsesReportIds(std::string_view descriptor)
{
    constexpr unsigned char longItemPrefix = 0xFE;
    constexpr unsigned char reportIdTagAndType = 0x84;
    std::size_t at = 0;
    while (at < descriptor.size()) {
        const auto prefix = static_cast<unsigned char>(descriptor[at]);
        if (prefix == longItemPrefix) {
            if (at + 1 >= descriptor.size())
                return false;
            at += 3 + static_cast<unsigned char>(descriptor[at + 1]);
            continue;
        }
        if ((prefix & 0xFC) == reportIdTagAndType)
            return true;
        const std::size_t dataSize = (prefix & 3) == 3 ? 4 : (prefix & 3);
        at += 1 + dataSize;
    }
    return false;
}

HidrawPlatform::HidrawPlatform(std::string sysfsRoot, std::string deviceRoot)
    : sysfsRoot_(std::move(sysfsRoot)), deviceRoot_(std::move(deviceRoot))
{}

std::int32_t HidrawPlatform::listDevices(std::vector<DeviceRecord>& devices) const
{
    const std::string classDirectory = sysfsRoot_ + "/class/hidraw";
    std::vector<std::string> names;
    if (listDirectory(classDirectory, names) != VEXA_OK)
        return VEXA_FAILED;
    std::vector<std::pair<long, std::string>> nodes;
    for (auto& name : names) {
        if (const long number = nodeNumber(name); number >= 0)
            nodes.emplace_back(number, std::move(name));
    }
    std::sort(nodes.begin(), nodes.end());

    devices.clear();
    for (const auto& [number, name] : nodes) {
        const std::string node = classDirectory + "/" + name;
        // A node whose records vanished was unplugged during the walk.
        const auto deviceEvent = readSmallFile(node + "/device/uevent");
        const auto hidId = deviceEvent ? valueOf(*deviceEvent, "HID_ID") : std::nullopt;
        const auto ids = hidId ? parseHidId(*hidId) : std::nullopt;
        if (!ids)
            continue;
        DeviceRecord record;
        record.hardwareId = hidHardwareId(ids->first, ids->second);
        const auto nodeEvent = readSmallFile(node + "/uevent");
        const auto deviceName = nodeEvent ? valueOf(*nodeEvent, "DEVNAME") : std::nullopt;
        record.path = deviceRoot_ + "/" + deviceName.value_or(name);
        if (const auto serial = valueOf(*deviceEvent, "HID_UNIQ"); serial && !serial->empty())
            record.serialNumber = utf8ToUtf16(*serial);
        const auto descriptor = readSmallFile(node + "/device/report_descriptor");
        record.kind = descriptor && descriptorUsesReportIds(*descriptor)
                          ? DescriptorKind::hidrawNumbered
                          : DescriptorKind::hidrawUnnumbered;
        devices.push_back(std::move(record));
    }
    return VEXA_OK;
}

std::int32_t HidrawPlatform::openExclusive(const DeviceRecord& device, VexaHandle& handle) const
{
    const int fd = ::open(device.path.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return VEXA_OPEN_REFUSED;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? VEXA_DEVICE_IN_USE : VEXA_OPEN_REFUSED;
    }
    handle = encodeHandle({fd, device.kind});
    return VEXA_OK;
}

std::int32_t HidrawPlatform::listHidUsbInstances(std::vector<std::u16string>& instances) const
{
    const std::string driverDirectory = sysfsRoot_ + "/bus/usb/drivers/usbhid";
    std::vector<std::string> names;
    if (listDirectory(driverDirectory, names) != VEXA_OK)
        return VEXA_FAILED;
    instances.clear();
    for (const auto& name : names) {
        // Bound interfaces are named "bus-port:config.interface"; the other
        // entries are the driver's own control files.
        if (name.find(':') == std::string::npos)
            continue;
        const std::string usbDevice = driverDirectory + "/" + name + "/..";
        const auto vid = readAttribute(usbDevice + "/idVendor");
        const auto pid = readAttribute(usbDevice + "/idProduct");
        const auto serial = readAttribute(usbDevice + "/serial");
        if (!vid || !pid || !serial || serial->empty())
            continue;
        instances.push_back(
            hidUsbInstance(static_cast<std::uint16_t>(std::strtoul(vid->c_str(), nullptr, 16)),
                           static_cast<std::uint16_t>(std::strtoul(pid->c_str(), nullptr, 16)),
                           utf8ToUtf16(*serial)));
    }
    return VEXA_OK;
}

} // namespace vexa::platform
