// Finding, opening and closing bridges on a virtual HID bus, and the
// process-wide result of the last open.
#include "support/BusFixture.h"

#include <fstream>
#include <string>

using namespace vexatest;

namespace {

std::u16string text(const vexa_char16* characters)
{
    std::u16string result;
    for (; *characters != 0; ++characters)
        result.push_back(static_cast<char16_t>(*characters));
    return result;
}

std::u16string utf16(const std::string& ascii)
{
    return std::u16string(ascii.begin(), ascii.end());
}

const vexa_char16* chars(const std::u16string& value)
{
    return reinterpret_cast<const vexa_char16*>(value.c_str());
}

class DiscoveryTest : public BusFixture {};

TEST(LibraryVersion, IsTwoPointOnePointZeroInTwelveBytes)
{
    vexa_char16 version[VEXA_VERSION_BUFFER_CHARS];
    std::fill(std::begin(version), std::end(version), 0xFFFF);
    EXPECT_EQ(Vexa_GetLibraryVersion(version), 12);
    EXPECT_EQ(text(version), u"2.1.0");
    EXPECT_EQ(version[6], 0xFFFF) << "nothing is written after the terminating zero";
    EXPECT_EQ(Vexa_GetLibraryVersion(nullptr), VEXA_NULL_ARGUMENT);
}

TEST_F(DiscoveryTest, NoMatchingDeviceCountsZeroAndOpensNothing)
{
    addDevice("other", {0x1234, bridgePid, "S1"});
    EXPECT_EQ(Vexa_GetConnectedDevCount(bridgeVid, bridgePid), 0);
    EXPECT_EQ(Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_NO_MATCHING_DEVICE);
}

TEST_F(DiscoveryTest, DeviceIsPresentOnlyWhileBothEntriesExist)
{
    std::ofstream(bus().path() / "stray.dev") << "vid=0x3a7c\npid=0x0146\n";
    EXPECT_EQ(Vexa_GetConnectedDevCount(bridgeVid, bridgePid), 0);
    addBridge("real");
    EXPECT_EQ(Vexa_GetConnectedDevCount(bridgeVid, bridgePid), 1);
}

TEST_F(DiscoveryTest, OnlyTheLowSixteenBitsOfTheIdsCount)
{
    addBridge("one");
    EXPECT_EQ(Vexa_GetConnectedDevCount(0xABCD0000u | bridgeVid, 0x10000u | bridgePid), 1);
}

TEST_F(DiscoveryTest, IndexCountsMatchesInAscendingNameOrder)
{
    // Created out of order, with a non-matching device between them: byte
    // order puts upper case before lower case.
    auto& second = addBridge("b-bridge");
    addDevice("a-other", {bridgeVid, 0x0046, "X"});
    auto& first = addBridge("Z-bridge");
    EXPECT_EQ(Vexa_GetConnectedDevCount(bridgeVid, bridgePid), 2);

    vexa_char16 path[256];
    uint32_t size = sizeof path;
    const VexaHandle handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 1, path, &size);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(text(path), utf16(second.socketPath()));
    EXPECT_EQ(size, sizeof path) << "the count is left as the caller gave it";
    EXPECT_EQ(second.openConnections(), 1u);
    EXPECT_EQ(first.acceptedConnections(), 0u);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);

    EXPECT_EQ(Vexa_OpenByIndex(bridgeVid, bridgePid, 2, nullptr, nullptr), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_INDEX_BEYOND_COUNT);
}

TEST_F(DiscoveryTest, PathBufferRules)
{
    auto& device = addBridge("bridge");
    const std::u16string fullPath = utf16(device.socketPath());
    const uint32_t needed = static_cast<uint32_t>((fullPath.size() + 1) * 2);

    // A count of 0 asks for no path: the device opens and the buffer stays.
    vexa_char16 untouched[4] = {0x1111, 0x1111, 0x1111, 0x1111};
    uint32_t none = 0;
    VexaHandle handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, untouched, &none);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(untouched[0], 0x1111);
    EXPECT_EQ(none, 0u);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);

    // One byte short: the needed count comes back and the device is not left
    // open.
    std::vector<vexa_char16> buffer(fullPath.size() + 1, 0x2222);
    uint32_t shortSize = needed - 1;
    handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, buffer.data(), &shortSize);
    EXPECT_EQ(handle, VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_PATH_BUFFER_SHORT);
    EXPECT_EQ(shortSize, needed);
    EXPECT_EQ(buffer[0], 0x2222);
    EXPECT_TRUE(device.waitForOpenConnections(0, std::chrono::seconds(5)));

    // Exactly the needed size: the whole path with its terminating zero.
    uint32_t exact = needed;
    handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, buffer.data(), &exact);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(text(buffer.data()), fullPath);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);
}

TEST_F(DiscoveryTest, BusNamedRelativelyStillShowsFullPaths)
{
    auto& device = addBridge("bridge");
    const auto relative = std::filesystem::relative(bus().path(), std::filesystem::current_path());
    ::setenv("VHID_BUS", (relative.string() + "/").c_str(), 1);
    vexa_char16 path[512];
    uint32_t size = sizeof path;
    const VexaHandle handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, path, &size);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(text(path), utf16(device.socketPath()));
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);
}

TEST_F(DiscoveryTest, SecondOpenOfAHeldDeviceIsInUse)
{
    addBridge("bridge", {}, "SN1");
    const VexaHandle held = openFirstBridge();
    ASSERT_NE(held, VEXA_INVALID_HANDLE);

    EXPECT_EQ(Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_DEVICE_IN_USE);
    // Still found while held: discovery does not open devices.
    EXPECT_EQ(Vexa_GetConnectedDevCount(bridgeVid, bridgePid), 1);
    EXPECT_EQ(Vexa_OpenBySN(bridgeVid, bridgePid, chars(u"SN1"), nullptr, nullptr),
              VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_DEVICE_IN_USE);

    EXPECT_EQ(Vexa_Close(held), VEXA_OK);
    forget(held);
    EXPECT_NE(openFirstBridge(), VEXA_INVALID_HANDLE);
}

TEST_F(DiscoveryTest, RefusedOpenIsDistinctFromInUse)
{
    addBridge("bridge").refuseOpens(0x02);
    EXPECT_EQ(Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_OPEN_REFUSED);
}

TEST_F(DiscoveryTest, BusDirectoryThatCannotBeReadFailsDiscovery)
{
    ::setenv("VHID_BUS", (bus().path() / "missing").c_str(), 1);
    EXPECT_EQ(Vexa_GetConnectedDevCount(bridgeVid, bridgePid), VEXA_FAILED);
    EXPECT_EQ(Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_FAILED);
}

struct SerialCase {
    const char* name;
    std::u16string wanted;
    int32_t expected;
    const char* opened; // which device, when expected is VEXA_OK
};

void PrintTo(const SerialCase& c, std::ostream* out)
{
    *out << c.name;
}

class OpenBySerialTest : public BusFixture, public ::testing::WithParamInterface<SerialCase> {};

TEST_P(OpenBySerialTest, FindsTheDeviceWithTheSerialNumber)
{
    auto& first = addBridge("first", {}, "AB12cd");
    auto& second = addBridge("second", {}, "XY-0123456");
    addDevice("foreign", {0x1111, bridgePid, "FOREIGN"});
    const SerialCase& c = GetParam();

    vexa_char16 path[256];
    uint32_t size = sizeof path;
    const VexaHandle handle = Vexa_OpenBySN(bridgeVid, bridgePid, chars(c.wanted), path, &size);
    EXPECT_EQ(Vexa_GetLastError(), c.expected);
    if (c.expected != VEXA_OK) {
        EXPECT_EQ(handle, VEXA_INVALID_HANDLE);
        // Devices tried on the way are closed again.
        EXPECT_TRUE(first.waitForOpenConnections(0, std::chrono::seconds(5)));
        EXPECT_TRUE(second.waitForOpenConnections(0, std::chrono::seconds(5)));
        return;
    }
    const auto& expectedDevice = std::string(c.opened) == "first" ? first : second;
    EXPECT_EQ(text(path), utf16(expectedDevice.socketPath()));
    EXPECT_EQ(expectedDevice.openConnections(), 1u);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OpenBySerialTest,
    ::testing::Values(SerialCase{"exact", u"AB12cd", VEXA_OK, "first"},
                      SerialCase{"letterCaseIgnored", u"ab12CD", VEXA_OK, "first"},
                      SerialCase{"tenCharacters", u"xy-0123456", VEXA_OK, "second"},
                      SerialCase{"prefixOnly", u"AB12", VEXA_SERIAL_NOT_PRESENT, nullptr},
                      SerialCase{"absent", u"NOPE", VEXA_SERIAL_NOT_PRESENT, nullptr},
                      SerialCase{"empty", u"", VEXA_SERIAL_NOT_PRESENT, nullptr},
                      SerialCase{"otherVendorsSerial", u"FOREIGN", VEXA_SERIAL_NOT_PRESENT,
                                 nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DiscoveryTest, SerialNumberOfElevenCharactersOpensNothing)
{
    auto& device = addBridge("bridge", {}, "ABCDEFGHIJK");
    EXPECT_EQ(Vexa_OpenBySN(bridgeVid, bridgePid, chars(u"ABCDEFGHIJK"), nullptr, nullptr),
              VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_SERIAL_NOT_PRESENT);
    EXPECT_EQ(device.acceptedConnections(), 0u);
}

TEST_F(DiscoveryTest, OpenBySerialSkipsAHeldDeviceAndOpensAFreeOneWithTheSerial)
{
    addBridge("a", {}, "SAME");
    auto& free = addBridge("b", {}, "SAME");
    const VexaHandle held = openFirstBridge();
    ASSERT_NE(held, VEXA_INVALID_HANDLE);
    const VexaHandle handle = Vexa_OpenBySN(bridgeVid, bridgePid, chars(u"same"), nullptr, nullptr);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(free.openConnections(), 1u);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);
}

TEST_F(DiscoveryTest, OpenBySerialWithoutSerialStoresNullArgument)
{
    addBridge("bridge", {}, "SN");
    EXPECT_EQ(Vexa_OpenBySN(bridgeVid, bridgePid, nullptr, nullptr, nullptr), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_NULL_ARGUMENT);
}

TEST_F(DiscoveryTest, OpenBySerialWithShortPathBufferLeavesNothingOpen)
{
    auto& device = addBridge("bridge", {}, "SN");
    vexa_char16 path[4];
    uint32_t size = sizeof path;
    EXPECT_EQ(Vexa_OpenBySN(bridgeVid, bridgePid, chars(u"SN"), path, &size), VEXA_INVALID_HANDLE);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_PATH_BUFFER_SHORT);
    EXPECT_EQ(size, (device.socketPath().size() + 1) * 2);
    EXPECT_TRUE(device.waitForOpenConnections(0, std::chrono::seconds(5)));
}

TEST_F(DiscoveryTest, CloseRejectsNullInvalidAndClosedHandles)
{
    addBridge("bridge");
    EXPECT_EQ(Vexa_Close(nullptr), VEXA_NULL_ARGUMENT);
    EXPECT_EQ(Vexa_Close(VEXA_INVALID_HANDLE), VEXA_BAD_HANDLE);
    // Small stray values are not handles of this library.
    EXPECT_EQ(Vexa_Close(reinterpret_cast<VexaHandle>(uintptr_t{4})), VEXA_BAD_HANDLE);

    const VexaHandle handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);
    EXPECT_EQ(Vexa_Close(handle), VEXA_BAD_HANDLE);
}

TEST_F(DiscoveryTest, LastErrorIsWrittenOnlyByTheOpens)
{
    addBridge("bridge");
    Vexa_OpenByIndex(bridgeVid, bridgePid, 5, nullptr, nullptr);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_INDEX_BEYOND_COUNT);
    // Other failures and successes leave it alone.
    EXPECT_EQ(Vexa_Close(nullptr), VEXA_NULL_ARGUMENT);
    EXPECT_EQ(Vexa_GetConnectedDevCount(bridgeVid, bridgePid), 1);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_INDEX_BEYOND_COUNT);

    const VexaHandle handle = Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_OK);
    Vexa_OpenByIndex(bridgeVid, bridgePid, 0, nullptr, nullptr);
    ASSERT_EQ(Vexa_GetLastError(), VEXA_DEVICE_IN_USE);
    EXPECT_EQ(Vexa_Close(handle), VEXA_OK);
    EXPECT_EQ(Vexa_GetLastError(), VEXA_DEVICE_IN_USE);
}

} // namespace
