#include "PersonalityStores.h"

namespace qzr {

// One store: the system configuration file of the organisation "Halvern"
// and the application "QZR".
std::vector<std::unique_ptr<QSettings>> OpenPersonalityStores()
{
    std::vector<std::unique_ptr<QSettings>> stores;
    auto& system = stores.emplace_back(std::make_unique<QSettings>(
        QSettings::NativeFormat, QSettings::SystemScope, "Halvern", "QZR"));
    system->setFallbacksEnabled(false);
    return stores;
}

} // namespace qzr
