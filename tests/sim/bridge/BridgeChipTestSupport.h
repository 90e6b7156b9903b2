#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <initializer_list>
#include <span>
#include <vector>

#include <gtest/gtest.h>

#include "sim/bridge/BridgeSettings.h"
#include "sim/bridge/SpiPeripheral.h"
#include "sim/bridge/VexaBridgeChip.h"
#include "sim/bridge/VexaProtocol.h"

// Helpers for driving the bridge chip model the way a host does: command
// reports in, one response each, model time advanced explicitly.
namespace bridge_test {

using sim::vexa::Report;

Report makeCommand(std::initializer_list<std::uint8_t> bytes);

// Sends one command and returns its single response (a test failure when
// there is none or more than one).
Report roundTrip(sim::VexaBridgeChip& chip, const Report& command);
Report roundTrip(sim::VexaBridgeChip& chip, std::initializer_list<std::uint8_t> bytes);

// Commands that carry a settings record.
Report spiSettingsCommand(std::uint8_t code, const sim::SpiTransferSettings& settings);
Report chipSettingsCommand(const sim::ChipSettings& settings);
Report powerUpChipSettingsCommand(const sim::ChipSettings& settings, std::uint8_t accessControl,
                                  const sim::vexa::Password& newPassword = {});
Report passwordCommand(const sim::vexa::Password& password);
Report stringCommand(std::uint8_t sub, const std::u16string& text);

sim::vexa::Password password(const char (&text)[9]);

// A peripheral that records what it receives and answers from a queue, then
// with a fill byte.
class ScriptedPeripheral final : public sim::SpiPeripheral {
public:
    std::uint8_t nextOutByte() override;
    void receive(std::uint8_t byte) override { received.push_back(byte); }

    std::deque<std::uint8_t> toSend;
    std::uint8_t fill = 0xA5;
    std::vector<std::uint8_t> received;
};

// A host running one SPI transaction in chunks of up to 60 bytes: resending a
// chunk answered busy after waiting 100000 / bitRate + 1 ms, polling with empty
// chunks once everything is sent, and giving up after 200 rounds (busy answers
// and answers to the last data chunk or to empty polls). Each command exchange
// takes `exchangeTime` of model time. The chip's transaction size must be
// txData.size().
struct HostTransfer {
    enum class Outcome { Done, Refused, GaveUp, Short, Failed };

    Outcome outcome = Outcome::Failed;
    std::vector<std::uint8_t> received;
    unsigned rounds = 0;
    unsigned busyAnswers = 0;
    std::chrono::microseconds elapsed{0};
};

HostTransfer runHostTransfer(sim::VexaBridgeChip& chip, std::span<const std::uint8_t> txData,
                             std::chrono::microseconds exchangeTime = std::chrono::milliseconds(2));

} // namespace bridge_test
