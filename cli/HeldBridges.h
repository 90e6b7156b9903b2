#pragma once

#include "cli/CradleScan.h"

#include <QList>
#include <QString>

namespace qzr::cli {

// The bridge cradles that the bridge library finds but the device list could
// not ask: held exclusively by another program (QZR holds the bridge it
// drives). Their number, or 0.
int HeldBridgeCount(const QList<TCradleEntry>& listed, const TCradleIdentifierSet& ids);

// A remark naming them ("1 bridge cradle is held by another program"), empty
// when there is none.
QString HeldBridgesRemark(int held);

} // namespace qzr::cli
