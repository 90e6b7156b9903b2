#include "sim/uhid/UhidEvents.h"

#include <linux/input.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "sim/uhid/UhidReportDescriptor.h"

namespace sim {
namespace {

template <std::size_t Size> void copyText(std::uint8_t (&field)[Size], const std::string& text)
{
    const std::size_t length = std::min(text.size(), Size - 1);
    std::memcpy(field, text.data(), length);
    field[length] = 0;
}

std::unique_ptr<uhid_event> emptyEvent(std::uint32_t type)
{
    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof *event);
    event->type = type;
    return event;
}

} // namespace

std::string uhidDeviceName(const DeviceDescriptor& descriptor)
{
    std::string name = descriptor.manufacturer;
    if (!descriptor.product.empty()) {
        name += (name.empty() ? "" : " ") + descriptor.product;
    }
    if (name.empty()) {
        char fallback[32];
        std::snprintf(fallback, sizeof fallback, "HID %04x:%04x", descriptor.vendorId,
                      descriptor.productId);
        name = fallback;
    }
    return name;
}

std::unique_ptr<uhid_event> uhidCreateEvent(const DeviceDescriptor& descriptor,
                                            const std::string& phys)
{
    const auto reportDescriptor = uhidReportDescriptor(descriptor.reportSize);
    auto event = emptyEvent(UHID_CREATE2);
    uhid_create2_req& create = event->u.create2;
    copyText(create.name, uhidDeviceName(descriptor));
    copyText(create.phys, phys);
    copyText(create.uniq, descriptor.serial);
    create.rd_size = static_cast<std::uint16_t>(reportDescriptor.size());
    create.bus = BUS_USB;
    create.vendor = descriptor.vendorId;
    create.product = descriptor.productId;
    create.version = descriptor.version;
    create.country = 0;
    std::memcpy(create.rd_data, reportDescriptor.data(), reportDescriptor.size());
    return event;
}

std::unique_ptr<uhid_event> uhidInputEvent(std::span<const std::uint8_t> report)
{
    if (report.size() < 2 || report.size() - 1 > UHID_DATA_MAX) {
        throw std::invalid_argument("an input report has 1 to " + std::to_string(UHID_DATA_MAX) +
                                    " data bytes after its report ID");
    }
    auto event = emptyEvent(UHID_INPUT2);
    const auto data = report.subspan(1);
    event->u.input2.size = static_cast<std::uint16_t>(data.size());
    std::memcpy(event->u.input2.data, data.data(), data.size());
    return event;
}

} // namespace sim
