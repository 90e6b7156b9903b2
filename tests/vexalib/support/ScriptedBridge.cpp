#include "ScriptedBridge.h"

#include <algorithm>
#include <deque>

namespace vexatest {
namespace {

constexpr std::uint8_t finished = 0x10;
constexpr std::uint8_t started = 0x20;
constexpr std::uint8_t dataReady = 0x30;

// Hands back up to 60 waiting bytes.
Response handBack(std::deque<std::uint8_t>& waiting, std::uint8_t stateWhenEmptyAfter)
{
    const std::size_t count = std::min<std::size_t>(waiting.size(), 60);
    Response response = reply({0x42, 0x00, static_cast<std::uint8_t>(count),
                               waiting.size() > count ? dataReady : stateWhenEmptyAfter});
    for (std::size_t i = 0; i < count; ++i) {
        response[4 + i] = waiting.front();
        waiting.pop_front();
    }
    return response;
}

} // namespace

ScriptedBridge::ScriptedBridge(SpiRecord spi, ChipRecord chip, ChunkAnswer chunkAnswer)
    : state_(std::make_shared<State>(State{spi, chip, std::move(chunkAnswer)}))
{}

std::vector<Response> ScriptedBridge::operator()(const Command& command)
{
    switch (command[0]) {
    case 0x40:
        state_->spi = spiRecordOf(command);
        return {spiSettingsAnswer(0x40, state_->spi)};
    case 0x41:
        return {spiSettingsAnswer(0x41, state_->spi)};
    case 0x20:
        return {chipSettingsAnswer(state_->chip)};
    case 0x21:
        state_->chip = chipRecordOf(command);
        return {reply({0x21, 0x00})};
    case 0x42:
        return {state_->chunkAnswer(command)};
    default:
        return {};
    }
}

ScriptedBridge::ChunkAnswer ScriptedBridge::echoAtOnce()
{
    auto waiting = std::make_shared<std::deque<std::uint8_t>>();
    return [waiting](const Command& command) {
        waiting->insert(waiting->end(), command.begin() + 4, command.begin() + 4 + command[1]);
        if (waiting->empty())
            return reply({0x42, 0x00, 0x00, started});
        return handBack(*waiting, dataReady);
    };
}

ScriptedBridge::ChunkAnswer ScriptedBridge::echoOnPolls()
{
    auto waiting = std::make_shared<std::deque<std::uint8_t>>();
    return [waiting](const Command& command) {
        if (command[1] != 0) {
            waiting->insert(waiting->end(), command.begin() + 4, command.begin() + 4 + command[1]);
            return reply({0x42, 0x00, 0x00, started});
        }
        return handBack(*waiting, finished);
    };
}

std::vector<std::uint8_t> codesOf(const std::vector<Command>& commands)
{
    std::vector<std::uint8_t> codes;
    for (const auto& command : commands)
        codes.push_back(command[0]);
    return codes;
}

} // namespace vexatest
