#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string_view>
#include <vector>

#include "sim/program/CommandChannels.h"
#include "sim/program/CommandInterpreter.h"
#include "sim/program/ProgramOptions.h"
#include "sim/program/Simulator.h"
#include "sim/uhid/UhidBus.h"

namespace {

void addCradles(sim::Simulator& simulator, const std::vector<sim::CradleArgument>& cradles)
{
    for (const auto& cradle : cradles) {
        if (cradle.kind == sim::CradleKind::Hid) {
            simulator.addHidCradle(cradle.name);
        } else {
            simulator.addBridgeCradle(cradle.name);
        }
        if (cradle.unitSerial) {
            simulator.placeUnit(cradle.name, sim::UnitSpec::demo(*cradle.unitSerial));
        }
    }
}

std::unique_ptr<sim::Simulator> makeSimulator(const sim::ProgramOptions& options)
{
    if (options.uhid) {
        return std::make_unique<sim::Simulator>(std::make_unique<sim::UhidBus>(), options.timing);
    }
    return std::make_unique<sim::Simulator>(options.busDirectory, options.timing);
}

void printServed(sim::Simulator& simulator, const sim::ProgramOptions& options)
{
    if (options.uhid) {
        std::printf("qzr-sim serves kernel HID devices through %s\n", sim::UhidBus::DefaultNode);
    } else {
        std::printf("qzr-sim serves the virtual HID bus %s\n", simulator.busDirectory().c_str());
    }
    for (const auto& status : simulator.cradles()) {
        std::printf("  %s\n", sim::CommandInterpreter::describe(status).c_str());
    }
    if (options.uhid) {
        std::printf("Clients find them among the hidraw devices (without VHID_BUS). Type help "
                    "for the commands.\n");
    } else {
        std::printf("Clients use it with VHID_BUS=%s. Type help for the commands.\n",
                    simulator.busDirectory().c_str());
    }
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string_view> arguments(argv + 1, argv + argc);
    const char* environmentBus = std::getenv("VHID_BUS");
    sim::ProgramOptions options;
    try {
        options = sim::parseProgramOptions(arguments, environmentBus ? environmentBus : "");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qzr-sim: %s\n\n%s", error.what(), sim::usageText().c_str());
        return 2;
    }
    if (options.showHelp) {
        std::fputs(sim::usageText().c_str(), stdout);
        return 0;
    }

    // Before any thread starts, so that the signals reach the command loop only.
    sim::CommandChannels::blockStopSignals();
    try {
        auto simulator = makeSimulator(options);
        sim::CommandInterpreter interpreter(*simulator);
        sim::CommandChannels channels(interpreter, options.busDirectory, options.exitOnEndOfInput,
                                      stdout);
        addCradles(*simulator, options.cradles);
        printServed(*simulator, options);
        if (int signal = channels.run()) {
            std::printf("qzr-sim stops on signal %d\n", signal);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "qzr-sim: %s\n", error.what());
        return 1;
    }
    return 0;
}
