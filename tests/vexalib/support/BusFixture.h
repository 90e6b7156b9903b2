#pragma once

#include "ScriptedBusDevice.h"
#include "tests/support/TemporaryDirectory.h"

#include <vexalib.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace vexatest {

using qzr::test::TemporaryDirectory;

inline constexpr std::uint16_t bridgeVid = 0x3A7C;
inline constexpr std::uint16_t bridgePid = 0x0146;

// A test on its own virtual HID bus: VHID_BUS names a fresh temporary
// directory for the test's duration, so the library sees only the test's
// devices.
class BusFixture : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("VHID_BUS", bus_.string().c_str(), 1); }

    void TearDown() override
    {
        for (const VexaHandle handle : openHandles_)
            Vexa_Close(handle);
        devices_.clear();
        ::unsetenv("VHID_BUS");
    }

    const TemporaryDirectory& bus() const { return bus_; }

    // Plugs a scripted device in.
    ScriptedBusDevice& addDevice(const std::string& name, DeviceDescriptor descriptor,
                                 ScriptedBusDevice::Script script = {})
    {
        devices_.push_back(std::make_unique<ScriptedBusDevice>(
            bus_.path(), name, std::move(descriptor), std::move(script)));
        return *devices_.back();
    }

    // A bridge (VID/PID above) answering from the script.
    ScriptedBusDevice& addBridge(const std::string& name, ScriptedBusDevice::Script script = {},
                                 const std::string& serial = {})
    {
        return addDevice(name, {bridgeVid, bridgePid, serial}, std::move(script));
    }

    // Opens the first bridge and closes it when the test ends.
    VexaHandle openFirstBridge()
    {
        const VexaHandle handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr);
        EXPECT_EQ(Vexa_GetLastError(), VEXA_OK);
        if (handle != VEXA_INVALID_HANDLE)
            openHandles_.push_back(handle);
        return handle;
    }

    // A handle closed by the test itself is no longer closed at the end.
    void forget(VexaHandle handle) { std::erase(openHandles_, handle); }

private:
    TemporaryDirectory bus_;
    std::vector<std::unique_ptr<ScriptedBusDevice>> devices_;
    std::vector<VexaHandle> openHandles_;
};

} // namespace vexatest
