#include "hid/platform/HidPlatform.h"

#include "hid/platform/hidraw/HidrawPlatform.h"
#include "hid/platform/vhid/VirtualBusPlatform.h"

#include <QtGlobal>

namespace qzr {

std::shared_ptr<HidPlatform> CreateHidPlatform()
{
    const QString bus = qEnvironmentVariable("VHID_BUS");
    if (!bus.isEmpty())
        return std::make_shared<VirtualBusPlatform>(bus);
    return std::make_shared<HidrawPlatform>();
}

} // namespace qzr
