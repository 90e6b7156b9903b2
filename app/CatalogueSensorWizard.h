#pragma once

#include "cradle/SensorWizard.h"

namespace qzr {

class TSensorTable;
class TTranslator;

// The sensor wizard on the program's catalogue: the "User settings" dialog,
// translated by the program's translator, and the settings calculation for
// the sensor picked in it.
class TCatalogueSensorWizard : public TSensorWizard {
public:
    TCatalogueSensorWizard(TSensorTable& catalogue, TTranslator& translator)
        : FCatalogue(catalogue), FTranslator(translator)
    {}

    void OpenWizard(QWidget& owner, float sensitivity,
                    std::function<void(TSensorChoice)> closed) override;

private:
    TSensorTable& FCatalogue;
    TTranslator& FTranslator;
};

} // namespace qzr
