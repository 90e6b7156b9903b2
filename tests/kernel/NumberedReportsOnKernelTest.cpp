// A kernel HID device that numbers its reports, made here through /dev/uhid:
// the HID layer's hidraw back end must take the report ID from the kernel's
// reads instead of putting 0 in front, and hand it on in writes.
#include "KernelGuest.h"
#include "hid/HidDevice.h"
#include "hid/HidDevices.h"
#include "hid/platform/FileDescriptor.h"
#include "hid/platform/hidraw/HidrawPlatform.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/input.h>
#include <linux/uhid.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <optional>
#include <vector>

namespace qzr::kernel {
namespace {

constexpr const char* NumberedSerial = "NUMBERED-1";
constexpr std::uint8_t NumberedReportId = 5;

// Vendor-defined, one input and one output report of 8 bytes, both with report ID 5.
const std::vector<std::uint8_t> NumberedDescriptor = {
    0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, NumberedReportId,
    0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x08,
    0x09, 0x01, 0x81, 0x02, 0x95, 0x08, 0x09, 0x01, 0x91,
    0x02, 0xC0};

std::unique_ptr<uhid_event> Event(std::uint32_t Type)
{
    auto event = std::make_unique<uhid_event>();
    std::memset(event.get(), 0, sizeof *event);
    event->type = Type;
    return event;
}

// The device, served by the test itself.
class NumberedDevice {
public:
    NumberedDevice() : FNode(::open("/dev/uhid", O_RDWR | O_NONBLOCK | O_CLOEXEC))
    {
        auto create = Event(UHID_CREATE2);
        std::strcpy(reinterpret_cast<char*>(create->u.create2.name), "numbered test device");
        std::strcpy(reinterpret_cast<char*>(create->u.create2.uniq), NumberedSerial);
        create->u.create2.bus = BUS_USB;
        create->u.create2.vendor = 0x3A7C;
        create->u.create2.product = 0x7F01;
        create->u.create2.rd_size = std::uint16_t(NumberedDescriptor.size());
        std::memcpy(create->u.create2.rd_data, NumberedDescriptor.data(),
                    NumberedDescriptor.size());
        Created = FNode.Valid() && Write(*create);
    }
    ~NumberedDevice()
    {
        if (Created)
            Write(*Event(UHID_DESTROY));
    }

    void SendInput(const std::vector<std::uint8_t>& Report)
    {
        auto input = Event(UHID_INPUT2);
        input->u.input2.size = std::uint16_t(Report.size());
        std::memcpy(input->u.input2.data, Report.data(), Report.size());
        Write(*input);
    }

    // The next output report a client wrote, as uhid hands it on; nothing while there is none.
    std::optional<std::vector<std::uint8_t>> NextOutput()
    {
        auto event = Event(0);
        while (::read(FNode.Get(), event.get(), sizeof *event) > 0)
            if (event->type == UHID_OUTPUT)
                return std::vector<std::uint8_t>(event->u.output.data,
                                                 event->u.output.data + event->u.output.size);
        return std::nullopt;
    }

    bool Created = false;

private:
    bool Write(const uhid_event& Event)
    {
        return ::write(FNode.Get(), &Event, sizeof Event) == ssize_t(sizeof Event);
    }

    FileDescriptor FNode;
};

TEST(NumberedReportsOnKernel, TheReportIdComesFromTheDeviceAndGoesBackToIt)
{
    NumberedDevice numbered;
    ASSERT_TRUE(numbered.Created) << "no /dev/uhid";
    ASSERT_TRUE(WaitFor([] { return !HidrawNodeOf(NumberedSerial).isEmpty(); }));

    THidDevices devices(nullptr, std::make_shared<HidrawPlatform>());
    devices.Loaded();
    std::uint16_t number = 0;
    for (std::uint16_t n = 1; n <= devices.NumberOfHidDevices(); ++n)
        if (devices.GetDevicePath(n) == HidrawNodeOf(NumberedSerial))
            number = n;
    ASSERT_NE(number, 0);
    THidDevice device;
    device.SetHidDevices(&devices);
    std::vector<std::pair<std::uint8_t, THidData>> seen;
    device.OnHidData = [&](QObject*, std::uint8_t ReportId, const THidData& Data) {
        seen.emplace_back(ReportId, Data);
    };
    device.Connect(number);

    // Reports reach only the readers that have the device open: send until the reader sees one.
    ASSERT_TRUE(WaitFor([&] {
        numbered.SendInput({NumberedReportId, 1, 2, 3, 4, 5, 6, 7, 8});
        return !seen.empty();
    }));
    EXPECT_EQ(seen[0].first, NumberedReportId);
    EXPECT_EQ(seen[0].second, (THidData{1, 2, 3, 4, 5, 6, 7, 8}));

    EXPECT_TRUE(device.SendData(NumberedReportId, {8, 7, 6, 5, 4, 3, 2, 1}));
    std::optional<std::vector<std::uint8_t>> output;
    ASSERT_TRUE(WaitFor([&] { return (output = numbered.NextOutput()).has_value(); }));
    EXPECT_EQ(*output, (std::vector<std::uint8_t>{NumberedReportId, 8, 7, 6, 5, 4, 3, 2, 1}));
    device.Disconnect();
}

} // namespace
} // namespace qzr::kernel
