// The bridge chip served on a virtual HID bus: whole reports over the socket,
// and a reset that takes the device off the bus and brings it back with the
// identity stored in the chip.
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "RawBusClient.h"
#include "protocol/CradleIdentifiers.h"
#include "sim/bridge/ReportFields.h"
#include "sim/bridge/SettingsRecords.h"
#include "sim/bridge/VexaProtocol.h"
#include "sim/program/Simulator.h"
#include "tests/support/TemporaryDirectory.h"
#include "tests/support/WaitFor.h"

namespace {

using namespace sim::vexa;
using namespace std::chrono_literals;
using simtest::Bytes;
using simtest::RawBusClient;

Bytes outputReport(const Report& command)
{
    Bytes report{0x00};
    report.insert(report.end(), command.begin(), command.end());
    return report;
}

Report commandOf(std::initializer_list<std::uint8_t> bytes)
{
    Report command{};
    std::copy(bytes.begin(), bytes.end(), command.begin());
    return command;
}

// One command exchange; nothing when no well-sized input report came back.
std::optional<Report> exchangeOverBus(RawBusClient& client, const Report& command)
{
    if (!client.send(outputReport(command)))
        return std::nullopt;
    const auto input = client.receive(2000ms);
    if (!input || input->size() != ReportSize + 1 || (*input)[0] != 0)
        return std::nullopt;
    Report response;
    std::copy(input->begin() + 1, input->end(), response.begin());
    return response;
}

// The key=value lines of a NAME.dev file.
std::map<std::string, std::string> descriptorEntries(const std::filesystem::path& path)
{
    std::map<std::string, std::string> entries;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);) {
        const auto equals = line.find('=');
        if (!line.starts_with('#') && equals != std::string::npos)
            entries[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return entries;
}

unsigned long number(const std::string& text)
{
    return std::strtoul(text.c_str(), nullptr, 0);
}

TEST(BridgeOnBus, AnswersEveryCommandWithOneFullReportEchoingIt)
{
    qzr::test::TemporaryDirectory directory;
    sim::Simulator simulator(directory.path(), sim::SimulatorOptions::fast());
    simulator.addBridgeCradle("bridge1", true, "BC-7");
    RawBusClient client(simulator.devicePath("bridge1"));
    ASSERT_EQ(client.open(RawBusClient::Exclusive), std::optional<std::uint8_t>(0x00));

    const auto settings = exchangeOverBus(client, commandOf({cmd::GetSpiSettings}));
    ASSERT_TRUE(settings);
    EXPECT_EQ((*settings)[0], cmd::GetSpiSettings);
    EXPECT_EQ((*settings)[2], 0x11);
    EXPECT_EQ(takeSpiTransferSettings(*settings), sim::SpiTransferSettings{});

    const auto serial = exchangeOverBus(client, commandOf({cmd::ReadNvram, nv::SerialNumber}));
    ASSERT_TRUE(serial);
    EXPECT_EQ(takeStringDescriptor(*serial), u"BC-7");
}

TEST(BridgeOnBus, AResetLeavesTheBusAndComesBackWithTheRewrittenIdentity)
{
    constexpr std::uint16_t NewProductId = qzr::BridgeCradleProductId + 1;
    qzr::test::TemporaryDirectory directory;
    sim::Simulator simulator(directory.path(), sim::SimulatorOptions::fast());
    simulator.addBridgeCradle("bridge1", true, "BC-8");
    const std::filesystem::path socket = simulator.devicePath("bridge1");
    const std::filesystem::path descriptor = directory.path() / "bridge1.dev";

    {
        RawBusClient client(socket);
        ASSERT_EQ(client.open(RawBusClient::Exclusive), std::optional<std::uint8_t>(0x00));
        Report product = commandOf({cmd::WriteNvram, nv::ProductName});
        putStringDescriptor(product, u"Renamed cradle");
        ASSERT_EQ((*exchangeOverBus(client, product))[1], status::Ok);
        Report key = commandOf({cmd::WriteNvram, nv::UsbKey});
        putU16(key, 4, qzr::CradleVendorId);
        putU16(key, 6, NewProductId);
        key[8] = 0x80;
        key[9] = 50;
        ASSERT_EQ((*exchangeOverBus(client, key))[1], status::Ok);
        sim::SpiTransferSettings powerUp;
        powerUp.bitRate = 100000;
        Report spi = commandOf({cmd::WriteNvram, nv::SpiSettings});
        putSpiTransferSettings(spi, powerUp);
        ASSERT_EQ((*exchangeOverBus(client, spi))[1], status::Ok);

        ASSERT_TRUE(
            client.send(outputReport(commandOf({cmd::Reset, cmd::ResetKey1, cmd::ResetKey2}))));
        EXPECT_TRUE(client.waitForEndOfFile()) << "the device leaves the bus";
    }

    // The end of the connection may come before the old socket is removed, so
    // wait for the device that carries the rewritten identity.
    ASSERT_TRUE(qzr::test::WaitFor(
        [&] {
            return std::filesystem::exists(socket) &&
                   number(descriptorEntries(descriptor)["pid"]) == NewProductId;
        },
        5000ms));
    auto entries = descriptorEntries(descriptor);
    EXPECT_EQ(entries["product"], "Renamed cradle");
    EXPECT_EQ(number(entries["vid"]), qzr::CradleVendorId);
    EXPECT_EQ(number(entries["pid"]), NewProductId);
    EXPECT_EQ(entries["serial"], "BC-8");

    RawBusClient client(socket);
    ASSERT_EQ(client.open(RawBusClient::Exclusive), std::optional<std::uint8_t>(0x00));
    const auto settings = exchangeOverBus(client, commandOf({cmd::GetSpiSettings}));
    ASSERT_TRUE(settings);
    EXPECT_EQ(getU32(*settings, 4), 100000u) << "current settings loaded from the power-up ones";
}

} // namespace
