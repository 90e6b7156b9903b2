#include "DeviceHandle.h"

#include <climits>

namespace vexa {

VexaHandle encodeHandle(OpenDescriptor descriptor)
{
    // Descriptor numbers stay below 2^30 (the kernel's fs.nr_open ceiling), so
    // the value fits a pointer on 32-bit systems too.
    const auto value = (static_cast<std::uintptr_t>(descriptor.fd) << 2) |
                       static_cast<std::uintptr_t>(descriptor.kind);
    return reinterpret_cast<VexaHandle>(value);
}

std::optional<OpenDescriptor> decodeHandle(VexaHandle handle)
{
    const auto value = reinterpret_cast<std::uintptr_t>(handle);
    const auto kind = static_cast<std::uint8_t>(value & 3);
    const auto fd = value >> 2;
    if (kind == 0 || fd > static_cast<std::uintptr_t>(INT_MAX))
        return std::nullopt;
    return OpenDescriptor{static_cast<int>(fd), static_cast<DescriptorKind>(kind)};
}

std::int32_t checkHandle(VexaHandle handle)
{
    if (handle == nullptr)
        return VEXA_NULL_ARGUMENT;
    if (handle == VEXA_INVALID_HANDLE)
        return VEXA_BAD_HANDLE;
    return VEXA_OK;
}

} // namespace vexa
