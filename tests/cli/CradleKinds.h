#pragma once

#include "CliRig.h"

#include <protocol/LogData.h>
#include <protocol/SetupData.h>

#include <ostream>
#include <string>

namespace qzr::cli::test {

// A test that runs once through each cradle kind.
struct TCradleCase {
    const char* Name;
    bool Bridge;
};

inline void PrintTo(const TCradleCase& value, std::ostream* out)
{
    *out << value.Name;
}

inline auto CradleKinds()
{
    return ::testing::Values(TCradleCase{"HidCradle", false}, TCradleCase{"BridgeCradle", true});
}

inline std::string CradleKindName(const ::testing::TestParamInfo<TCradleCase>& info)
{
    return info.param.Name;
}

// The only cradle on the bus, named "cradle", of the test's kind, with the
// demonstration unit on it.
class PerCradleKind : public CliRig, public ::testing::WithParamInterface<TCradleCase> {
protected:
    static constexpr std::uint32_t Serial = 0x00A1B2C3;

    void SetUp() override
    {
        CliRig::SetUp();
        if (GetParam().Bridge)
            simulator->addBridgeCradle("cradle");
        else
            simulator->addHidCradle("cradle");
        simulator->placeUnit("cradle", sim::UnitSpec::demo(Serial));
    }

    TSetupData UnitImage()
    {
        TSetupData image{};
        simulator->withUnit("cradle", [&](sim::Zt46Unit& unit) { image = unit.workingSetup(); });
        return image;
    }

    TLogData UnitMemory()
    {
        TLogData memory{};
        simulator->withUnit("cradle", [&](sim::Zt46Unit& unit) { memory = unit.loggerMemory(); });
        return memory;
    }
};

} // namespace qzr::cli::test
