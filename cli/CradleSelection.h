#pragma once

#include "cli/CradleScan.h"

namespace qzr::cli {

// The cradle a command works on: the one named by -d, or the only one there
// is. No cradle, or no cradle of that name, is exit code 3; several cradles and
// no name is exit code 2, its message naming them ("several cradles: hid1,
// bridge1; choose one with -d"). `remark`, when not empty, is added to the
// no-cradle messages in brackets: why a cradle may be missing.
TCradleEntry SelectCradle(const QList<TCradleEntry>& cradles, const QString& wanted,
                          const QString& remark);

} // namespace qzr::cli
