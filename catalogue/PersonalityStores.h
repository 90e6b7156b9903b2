#pragma once

#include <QSettings>
#include <memory>
#include <vector>

namespace qzr {

// The system settings stores that may hold the personality groups DEALER and
// FACTORY, in the order they are searched: a group is read from the first
// store that has it. Each platform lists its stores in its own source file.
std::vector<std::unique_ptr<QSettings>> OpenPersonalityStores();

} // namespace qzr
