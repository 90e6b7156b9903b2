#include "hid/platform/hidraw/HidrawReportDescriptor.h"

namespace qzr {

namespace {

constexpr std::uint8_t LongItemPrefix = 0xFE;
constexpr std::uint8_t ReportIdTag = 0x84; // global item, tag 8, size bits masked off

} // namespace

bool ReportDescriptorUsesReportIds(std::span<const std::uint8_t> Descriptor)
{
    std::size_t position = 0;
    while (position < Descriptor.size()) {
        const std::uint8_t prefix = Descriptor[position];
        if (prefix == LongItemPrefix) {
            // Long item: prefix, data size, long tag, data.
            if (position + 1 >= Descriptor.size())
                return false;
            position += 3 + Descriptor[position + 1];
            continue;
        }
        if ((prefix & 0xFC) == ReportIdTag)
            return true;
        const std::size_t dataSize = (prefix & 0x03) == 3 ? 4 : (prefix & 0x03);
        position += 1 + dataSize;
    }
    return false;
}

} // namespace qzr
