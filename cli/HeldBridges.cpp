#include "cli/HeldBridges.h"

#include <vexalib.h>

#include <algorithm>

namespace qzr::cli {

int HeldBridgeCount(const QList<TCradleEntry>& listed, const TCradleIdentifierSet& ids)
{
    const std::int32_t present = Vexa_GetConnectedDevCount(ids.VendorId, ids.BridgeProductId);
    const auto asked = std::count_if(listed.begin(), listed.end(), [](const TCradleEntry& cradle) {
        return cradle.Kind == TCradleKind::Bridge;
    });
    return std::max<int>(0, present - static_cast<int>(asked));
}

QString HeldBridgesRemark(int held)
{
    if (held == 0)
        return {};
    return held == 1 ? QStringLiteral("1 bridge cradle is held by another program")
                     : QStringLiteral("%1 bridge cradles are held by another program").arg(held);
}

} // namespace qzr::cli
