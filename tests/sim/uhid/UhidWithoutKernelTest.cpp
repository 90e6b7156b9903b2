#include <gtest/gtest.h>

#include <system_error>

#include "sim/program/Simulator.h"
#include "sim/uhid/UhidBus.h"

namespace {

TEST(UhidWithoutKernel, ACradleThatCannotBecomeAKernelDeviceIsRefusedWithTheReason)
{
    sim::Simulator simulator(std::make_unique<sim::UhidBus>("/nonexistent/uhid"));
    EXPECT_TRUE(simulator.busDirectory().empty());
    try {
        simulator.addHidCradle("hid1");
        ADD_FAILURE() << "no exception";
    } catch (const std::system_error& error) {
        EXPECT_NE(std::string(error.what()).find("cannot open /nonexistent/uhid"),
                  std::string::npos)
            << error.what();
        EXPECT_EQ(error.code(), std::errc::no_such_file_or_directory);
    }
    EXPECT_TRUE(simulator.cradles().empty()) << "a cradle that failed is not kept";

    simulator.addBridgeCradle("bridge1", false);
    ASSERT_EQ(simulator.cradles().size(), 1u);
    EXPECT_FALSE(simulator.cradles()[0].plugged);
    EXPECT_THROW(simulator.plug("bridge1"), std::system_error);
    EXPECT_FALSE(simulator.cradles()[0].plugged);
}

} // namespace
