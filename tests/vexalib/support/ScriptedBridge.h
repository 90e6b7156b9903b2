#pragma once

#include "ChipAnswers.h"

#include <functional>
#include <memory>

// A script for a scripted bridge that answers the settings commands around a
// transfer like a chip would (0x40, 0x41, 0x20, 0x21) and hands every
// transfer chunk (0x42) to a test's own function. Other commands get no
// answer. Copies share one state, so the test sees what the device thread did.
namespace vexatest {

class ScriptedBridge {
public:
    using ChunkAnswer = std::function<Response(const Command&)>;

    ScriptedBridge(SpiRecord spi, ChipRecord chip, ChunkAnswer chunkAnswer);

    std::vector<Response> operator()(const Command& command);

    // Transfer chunk answers: echo the data of every chunk back at once, or
    // take data chunks without data and hand everything back on the polls
    // that follow (at most 60 bytes an answer, finishing with the last).
    static ChunkAnswer echoAtOnce();
    static ChunkAnswer echoOnPolls();

private:
    struct State {
        SpiRecord spi;
        ChipRecord chip;
        ChunkAnswer chunkAnswer;
    };
    std::shared_ptr<State> state_;
};

// The command codes of the recorded commands, in order.
std::vector<std::uint8_t> codesOf(const std::vector<Command>& commands);

} // namespace vexatest
