#include "sim/program/ProgramOptions.h"

#include <charconv>
#include <stdexcept>

#include "sim/program/CommandInterpreter.h"

namespace sim {
namespace {

unsigned long parseNumber(std::string_view option, std::string_view text)
{
    unsigned long value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value > 10'000'000) {
        throw std::invalid_argument(std::string(option) + " expects a number, not '" +
                                    std::string(text) + "'");
    }
    return value;
}

// NAME or NAME:unit=SERIAL
CradleArgument parseCradle(CradleKind kind, std::string_view text)
{
    CradleArgument cradle{kind, std::string(text), std::nullopt};
    if (auto colon = text.find(':'); colon != std::string_view::npos) {
        cradle.name = std::string(text.substr(0, colon));
        std::string_view setting = text.substr(colon + 1);
        if (!setting.starts_with("unit=")) {
            throw std::invalid_argument("expected NAME or NAME:unit=SERIAL, not '" +
                                        std::string(text) + "'");
        }
        cradle.unitSerial = parseUnitSerial(setting.substr(5));
    }
    return cradle;
}

} // namespace

std::vector<CradleArgument> demoCradles()
{
    return {{CradleKind::Hid, "hid1", 0x00A1B2C3}, {CradleKind::Bridge, "bridge1", 0x00A1B2D7}};
}

ProgramOptions parseProgramOptions(std::span<const std::string_view> arguments,
                                   std::string_view environmentBus)
{
    ProgramOptions options;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string_view option = arguments[i];
        auto value = [&]() -> std::string_view {
            if (i + 1 >= arguments.size()) {
                throw std::invalid_argument(std::string(option) + " needs a value");
            }
            return arguments[++i];
        };
        if (option == "--help" || option == "-h") {
            options.showHelp = true;
        } else if (option == "--bus") {
            options.busDirectory = std::string(value());
        } else if (option == "--hid") {
            options.cradles.push_back(parseCradle(CradleKind::Hid, value()));
        } else if (option == "--bridge") {
            options.cradles.push_back(parseCradle(CradleKind::Bridge, value()));
        } else if (option == "--fast") {
            options.timing = SimulatorOptions::fast();
        } else if (option == "--report-interval") {
            options.timing.reportInterval = std::chrono::microseconds(parseNumber(option, value()));
        } else if (option == "--byte-rate") {
            options.timing.byteRate = static_cast<unsigned>(parseNumber(option, value()));
        } else if (option == "--usb-frame") {
            options.timing.usbFrame = std::chrono::microseconds(parseNumber(option, value()));
        } else if (option == "--spi-instant") {
            options.timing.spiRealTime = false;
        } else if (option == "--reset-time") {
            options.timing.reenumerationTime =
                std::chrono::milliseconds(parseNumber(option, value()));
        } else if (option == "--uhid") {
            options.uhid = true;
        } else if (option == "--exit-on-eof") {
            options.exitOnEndOfInput = true;
        } else {
            throw std::invalid_argument("unknown option '" + std::string(option) + "'");
        }
    }
    if (options.showHelp) {
        return options;
    }
    if (options.busDirectory.empty()) {
        if (environmentBus.empty() && !options.uhid) {
            throw std::invalid_argument("no bus directory: give --bus DIR or set VHID_BUS");
        }
        options.busDirectory = std::string(environmentBus);
    }
    if (options.cradles.empty()) {
        options.cradles = demoCradles();
    }
    return options;
}

std::string usageText()
{
    return "usage: qzr-sim [--bus DIR] [--hid NAME[:unit=SERIAL]]... "
           "[--bridge NAME[:unit=SERIAL]]... [options]\n"
           "       qzr-sim --uhid [--bus DIR] [--hid ...]... [--bridge ...]... [options]\n"
           "\n"
           "Serves simulated ZT-46 cradles on a virtual HID bus directory (DIR, or the\n"
           "directory in VHID_BUS). With --uhid the cradles become the system's own HID\n"
           "devices instead (/dev/hidrawN, through /dev/uhid: the uhid module and root or\n"
           "write access to /dev/uhid are needed), found by clients run without VHID_BUS;\n"
           "DIR is optional then and holds only the control socket.\n"
           "Without --hid and --bridge it serves a demonstration:\n"
           "a HID cradle hid1 and a bridge cradle bridge1, each with a unit whose logger\n"
           "holds a recorded day. SERIAL is the unit's serial number in hexadecimal.\n"
           "\n"
           "Commands are read from standard input and from the socket DIR/.control\n"
           "(a line each; try: echo help | socat - UNIX-CONNECT:DIR/.control).\n"
           "\n"
           "options:\n"
           "  --fast                  every delay 0 (reports as fast as taken, bytes at once)\n"
           "  --report-interval US    HID cradle input report interval, default 1000\n"
           "  --byte-rate N           cradle to unit bytes per second, default 960; 0 at once\n"
           "  --usb-frame US          USB frame, one report per frame each way, default 1000\n"
           "  --spi-instant           the bridge clocks SPI bytes at once\n"
           "  --reset-time MS         a bridge's absence after a reset, default 300\n"
           "  --uhid                  kernel HID devices through /dev/uhid (see above)\n"
           "  --exit-on-eof           stop when standard input ends\n"
           "  --help                  this text\n"
           "\n"
           "It stops on SIGINT, SIGTERM, SIGHUP or the command quit, and removes its files.\n";
}

} // namespace sim
