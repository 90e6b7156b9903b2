#pragma once

#include "cradle/LinkEndpoint.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace qzr::test {

// A link endpoint that records every call and serves a scripted output frame.
class TFakeLinkEndpoint : public TLinkEndpoint {
public:
    bool OnCradle() const override { return onCradle; }
    void SetOnCradle(bool value) override { onCradle = value; }
    void ReceiveLinkByte(std::uint8_t byte) override { received.push_back(byte); }
    bool ReceivingFrame() const override { return receivingFrame; }
    bool OutputPending() const override { return !output.empty(); }
    std::uint8_t NextOutputByte() override
    {
        const std::uint8_t byte = output.front();
        output.pop_front();
        return byte;
    }
    void SessionStarts() override { calls.push_back("SessionStarts"); }
    void SessionEnds() override { calls.push_back("SessionEnds"); }
    void UnitDetected() override { calls.push_back("UnitDetected"); }
    void UnitGone() override { calls.push_back("UnitGone"); }

    void QueueOutput(std::size_t count, std::uint8_t first = 1)
    {
        for (std::size_t i = 0; i < count; ++i)
            output.push_back(static_cast<std::uint8_t>(first + i));
    }

    bool onCradle = false;
    bool receivingFrame = false;
    std::vector<std::uint8_t> received;
    std::deque<std::uint8_t> output;
    std::vector<std::string> calls;
};

} // namespace qzr::test
