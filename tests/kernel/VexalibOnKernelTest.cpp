// vexalib's hidraw back end against the kernel's own devices.
#include "KernelGuest.h"
#include "hid/EUSBException.h"
#include "hid/HidDevices.h"
#include "hid/platform/hidraw/HidrawPlatform.h"

#include <gtest/gtest.h>
#include <protocol/CradleIdentifiers.h>
#include <vexalib.h>

#include <string>

namespace qzr::kernel {
namespace {

std::u16string Utf16(const std::string& Text)
{
    return std::u16string(Text.begin(), Text.end());
}

std::u16string TextOf(const vexa_char16* Text)
{
    std::u16string text;
    for (; *Text != 0; ++Text)
        text += char16_t(*Text);
    return text;
}

// An open bridge, closed again at the end of the test.
class VexalibOnKernel : public testing::Test {
protected:
    void TearDown() override
    {
        if (Handle != nullptr && Handle != VEXA_INVALID_HANDLE) {
            EXPECT_EQ(Vexa_Close(Handle), VEXA_OK);
        }
    }

    VexaHandle Handle = nullptr;
};

TEST_F(VexalibOnKernel, DiscoveryCountsEachCradleKindByItsIdentifiers)
{
    EXPECT_EQ(Vexa_GetConnectedDevCount(CradleVendorId, BridgeCradleProductId), 1);
    EXPECT_EQ(Vexa_GetConnectedDevCount(CradleVendorId, HidCradleProductId), 1);
    EXPECT_EQ(Vexa_GetConnectedDevCount(CradleVendorId, 0x7777), 0);
}

TEST_F(VexalibOnKernel, OpenByIndexHoldsTheBridgeExclusivelyAndExchangesCommands)
{
    vexa_char16 path[64] = {};
    std::uint32_t pathSize = sizeof path;
    Handle = Vexa_OpenByIndex(CradleVendorId, BridgeCradleProductId, 0, path, &pathSize);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(TextOf(path), HidrawNodeOf(BridgeSerial).toStdU16String());
    EXPECT_EQ(Vexa_OpenByIndex(CradleVendorId, BridgeCradleProductId, 1, nullptr, nullptr),
              VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_INDEX_BEYOND_COUNT);

    EXPECT_EQ(Vexa_OpenByIndex(CradleVendorId, BridgeCradleProductId, 0, nullptr, nullptr),
              VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_DEVICE_IN_USE);
    // The program's device list opens a device to ask it anything: a bridge
    // that the library holds cannot be asked.
    THidDevices devices(nullptr, std::make_shared<HidrawPlatform>());
    devices.Loaded();
    for (std::uint16_t number = 1; number <= devices.NumberOfHidDevices(); ++number) {
        if (devices.GetDevicePath(number) != HidrawNodeOf(BridgeSerial))
            continue;
        EXPECT_THROW(devices.GetVendorId(number), EUSBException);
    }

    // Commands and their answers through the kernel: 64-byte reports with the
    // report-ID byte added on the way out and in.
    vexa_char16 serial[32] = {};
    ASSERT_EQ(Vexa_GetSerialNumber(Handle, serial), VEXA_OK);
    EXPECT_EQ(TextOf(serial), Utf16(BridgeSerial));
    std::uint16_t vid = 0;
    std::uint16_t pid = 0;
    std::uint8_t power = 0;
    std::uint8_t remoteWake = 0;
    std::uint16_t maxCurrent = 0;
    ASSERT_EQ(Vexa_GetUsbKeyParams(Handle, &vid, &pid, &power, &remoteWake, &maxCurrent), VEXA_OK);
    EXPECT_EQ(vid, CradleVendorId);
    EXPECT_EQ(pid, BridgeCradleProductId);

    ASSERT_EQ(Vexa_Close(Handle), VEXA_OK);
    Handle = Vexa_OpenByIndex(CradleVendorId, BridgeCradleProductId, 0, nullptr, nullptr);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_OK) << "closing releases the bridge";
}

TEST_F(VexalibOnKernel, AResetBridgeLeavesTheSystemAndComesBackAsANewDevice)
{
    Handle = Vexa_OpenByIndex(CradleVendorId, BridgeCradleProductId, 0, nullptr, nullptr);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    const QString nodeBefore = HidrawNodeOf(BridgeSerial);
    const int hidrawDevicesBefore = HidrawDeviceCount();

    ASSERT_EQ(Vexa_Reset(Handle), VEXA_OK);
    Handle = nullptr;
    // The chip re-enumerates: its kernel device goes and a new one comes.
    EXPECT_TRUE(WaitFor([&] { return HidrawDeviceCount() < hidrawDevicesBefore; }));
    ASSERT_TRUE(WaitFor([] {
        return Vexa_GetConnectedDevCount(CradleVendorId, BridgeCradleProductId) == 1 &&
               !HidrawNodeOf(BridgeSerial).isEmpty();
    }));

    Handle = Vexa_OpenByIndex(CradleVendorId, BridgeCradleProductId, 0, nullptr, nullptr);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK) << "was " << nodeBefore.toStdString();
    vexa_char16 serial[32] = {};
    ASSERT_EQ(Vexa_GetSerialNumber(Handle, serial), VEXA_OK);
    EXPECT_EQ(TextOf(serial), Utf16(BridgeSerial));
}

TEST_F(VexalibOnKernel, OpenBySerialNumberFindsNoUhidBridgeInTheUsbhidDriversDevices)
{
    // The serial pre-check looks among the USB devices that the usbhid driver
    // serves. A uhid device is served by no USB driver, so however its serial
    // number (HID_UNIQ) matches, the kernel offers the pre-check nothing.
    const std::u16string serial = Utf16(BridgeSerial);
    Handle = Vexa_OpenBySN(CradleVendorId, BridgeCradleProductId,
                           reinterpret_cast<const vexa_char16*>(serial.c_str()), nullptr, nullptr);
    EXPECT_EQ(Handle, VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_SERIAL_NOT_PRESENT);
}

} // namespace
} // namespace qzr::kernel
