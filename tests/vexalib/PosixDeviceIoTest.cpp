// Report I/O, close and the response length rule of a command exchange on a
// handle, over socket pairs standing in for hidraw nodes and bus connections.
#include "ChipCommands.h"
#include "CommandExchange.h"
#include "DeviceHandle.h"
#include "platform/DeviceIo.h"

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <numeric>
#include <vector>

using namespace vexa;
using namespace vexa::platform;

namespace {

constexpr int shortTimeoutMs = 50;

// A connected pair of sequenced-packet sockets: the library's end as a
// handle of the given kind, and the device's end.
class SocketPair {
public:
    explicit SocketPair(DescriptorKind kind)
    {
        int fds[2];
        EXPECT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
        handle_ = encodeHandle({fds[0], kind});
        device_ = fds[1];
    }
    ~SocketPair()
    {
        closeDevice(handle_);
        if (device_ >= 0)
            ::close(device_);
    }

    VexaHandle handle() const { return handle_; }
    int device() const { return device_; }
    void unplug()
    {
        ::close(device_);
        device_ = -1;
    }

private:
    VexaHandle handle_;
    int device_;
};

std::array<uint8_t, 65> countingReport()
{
    std::array<uint8_t, 65> report{};
    std::iota(report.begin(), report.end(), uint8_t{0});
    return report;
}

TEST(PosixDeviceIo, UnnumberedHidrawReadsGainReportIdZero)
{
    SocketPair pair(DescriptorKind::hidrawUnnumbered);
    std::array<uint8_t, 64> data{};
    std::iota(data.begin(), data.end(), uint8_t{1});
    ASSERT_EQ(::write(pair.device(), data.data(), data.size()), 64);

    std::array<uint8_t, 65> report{};
    report.fill(0xEE);
    const auto result = readReport(pair.handle(), report.data(), report.size(), shortTimeoutMs);
    ASSERT_EQ(result.code, VEXA_OK);
    EXPECT_EQ(result.count, 65u);
    EXPECT_EQ(report[0], 0);
    EXPECT_TRUE(std::equal(data.begin(), data.end(), report.begin() + 1));
}

TEST(PosixDeviceIo, WritesCarryTheReportIdAndNumberedReadsKeepIt)
{
    for (const auto kind : {DescriptorKind::hidrawUnnumbered, DescriptorKind::hidrawNumbered,
                            DescriptorKind::busConnection}) {
        SCOPED_TRACE(static_cast<int>(kind));
        SocketPair pair(kind);
        const auto report = countingReport();
        const auto written =
            writeReport(pair.handle(), report.data(), report.size(), shortTimeoutMs);
        ASSERT_EQ(written.code, VEXA_OK);
        EXPECT_EQ(written.count, 65u);
        std::array<uint8_t, 80> arrived{};
        ASSERT_EQ(::read(pair.device(), arrived.data(), arrived.size()), 65);
        EXPECT_TRUE(std::equal(report.begin(), report.end(), arrived.begin()));

        if (kind == DescriptorKind::hidrawUnnumbered)
            continue;
        ASSERT_EQ(::write(pair.device(), report.data(), report.size()), 65);
        std::array<uint8_t, 65> read{};
        const auto result = readReport(pair.handle(), read.data(), read.size(), shortTimeoutMs);
        ASSERT_EQ(result.code, VEXA_OK);
        EXPECT_EQ(result.count, 65u);
        EXPECT_EQ(read, report);
    }
}

TEST(PosixDeviceIo, NothingToReadTimesOut)
{
    SocketPair pair(DescriptorKind::busConnection);
    std::array<uint8_t, 65> report{};
    EXPECT_EQ(readReport(pair.handle(), report.data(), report.size(), shortTimeoutMs).code,
              VEXA_REPORT_TIMEOUT);
}

TEST(PosixDeviceIo, DeviceThatTakesNothingTimesTheWriteOut)
{
    SocketPair pair(DescriptorKind::busConnection);
    const auto report = countingReport();
    // Fill the connection until the device would have to read first.
    for (;;) {
        const auto result = writeReport(pair.handle(), report.data(), report.size(), 0);
        if (result.code != VEXA_OK) {
            EXPECT_EQ(result.code, VEXA_REPORT_TIMEOUT);
            break;
        }
    }
    EXPECT_EQ(writeReport(pair.handle(), report.data(), report.size(), shortTimeoutMs).code,
              VEXA_REPORT_TIMEOUT);
}

TEST(PosixDeviceIo, VanishedDeviceFailsReadsAndWritesWithoutASignal)
{
    // A write to a closed connection raises SIGPIPE unless the library
    // prevents it; the default action would end this test program.
    for (const auto kind : {DescriptorKind::busConnection, DescriptorKind::hidrawNumbered}) {
        SCOPED_TRACE(static_cast<int>(kind));
        SocketPair pair(kind);
        pair.unplug();
        std::array<uint8_t, 65> report{};
        EXPECT_EQ(readReport(pair.handle(), report.data(), report.size(), shortTimeoutMs).code,
                  VEXA_REPORT_IO_FAILED);
        if (kind == DescriptorKind::busConnection) {
            EXPECT_EQ(writeReport(pair.handle(), report.data(), report.size(), shortTimeoutMs).code,
                      VEXA_REPORT_IO_FAILED);
        }
    }
}

TEST(PosixDeviceIo, CloseReportsHandlesTheSystemDoesNotKnow)
{
    int fds[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_SEQPACKET, 0, fds), 0);
    const VexaHandle handle = encodeHandle({fds[0], DescriptorKind::busConnection});
    EXPECT_EQ(closeDevice(handle), VEXA_OK);
    EXPECT_EQ(closeDevice(handle), VEXA_BAD_HANDLE);
    EXPECT_EQ(closeDevice(reinterpret_cast<VexaHandle>(uintptr_t{8})), VEXA_BAD_HANDLE);
    ::close(fds[1]);

    std::array<uint8_t, 65> report{};
    EXPECT_EQ(readReport(handle, report.data(), report.size(), shortTimeoutMs).code,
              VEXA_REPORT_IO_FAILED);
}

TEST(PosixDeviceIo, ResponseOfAnotherLengthFailsTheExchangeBeforeItsEcho)
{
    // Command 0x10 expects 11 response bytes. Each case is the input report the
    // device answers with: report ID 0, then the response bytes.
    struct Case {
        std::vector<uint8_t> report;
        int32_t expected;
    };
    const Case cases[] = {
        {{0}, VEXA_FAILED},
        {{0, 0x42, 0xFE, 1, 2, 3, 4, 5, 6, 7, 8}, VEXA_FAILED},
        {{0, 0x10, 0x00, 1, 2, 3, 4, 5, 6, 7, 8, 9}, VEXA_OK},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.report.size());
        SocketPair pair(DescriptorKind::busConnection);
        ASSERT_EQ(::write(pair.device(), c.report.data(), c.report.size()),
                  static_cast<ssize_t>(c.report.size()));
        const std::array<uint8_t, 1> command{VEXA_CMD_STATUS};
        std::array<uint8_t, 11> response{};
        EXPECT_EQ(runCommand(pair.handle(), command, response), c.expected);
    }
}

} // namespace
