#include "SizeFaultyBridge.h"

namespace vexatest {

ScriptedBusDevice::Script sizeFaultyBridge(SpiRecord spi, SizeFault fault)
{
    return sizeFaultyBridge(spi, std::make_shared<const SizeFault>(fault));
}

ScriptedBusDevice::Script sizeFaultyBridge(SpiRecord spi, std::shared_ptr<const SizeFault> fault)
{
    auto held = std::make_shared<SpiRecord>(spi);
    ScriptedBridge others(spi, {}, ScriptedBridge::echoAtOnce());
    return [held, fault, others](const Command& command) mutable -> std::vector<Response> {
        if (command[0] == 0x40) {
            *held = spiRecordOf(command);
            held->txferSize = fault->applied.value_or(held->txferSize);
            return {spiSettingsAnswer(0x40, *held)};
        }
        if (command[0] == 0x41) {
            SpiRecord reported = *held;
            reported.txferSize = fault->reported.value_or(reported.txferSize);
            return {spiSettingsAnswer(0x41, reported)};
        }
        return others(command);
    };
}

} // namespace vexatest
