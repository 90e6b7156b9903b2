#include "sim/program/CommandInterpreter.h"

#include <charconv>
#include <cstdio>
#include <sstream>
#include <stdexcept>
#include <vector>

#include "sim/program/LoggerCommands.h"
#include "sim/unit/DemoRecording.h"

namespace sim {
namespace {

using Words = std::vector<std::string>;

Words split(std::string_view line)
{
    Words words;
    std::istringstream stream{std::string(line)};
    std::string word;
    while (stream >> word) {
        words.push_back(word);
    }
    return words;
}

void requireWords(const Words& words, std::size_t least, std::size_t most)
{
    if (words.size() < least || words.size() > most) {
        throw std::invalid_argument("wrong number of arguments for '" + words[0] + "' (see help)");
    }
}

bool parseSwitch(const std::string& word)
{
    if (word == "on") {
        return true;
    }
    if (word == "off") {
        return false;
    }
    throw std::invalid_argument("expected on or off, not '" + word + "'");
}

// A probability as a number from 0 to 1 or as a percentage ("2.5%").
double parseRate(std::string word)
{
    bool percent = !word.empty() && word.back() == '%';
    if (percent) {
        word.pop_back();
    }
    std::size_t used = 0;
    double value = 0.0;
    try {
        value = std::stod(word, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (word.empty() || used != word.size()) {
        throw std::invalid_argument("expected a rate such as 0.01 or 1%, not '" + word + "'");
    }
    return percent ? value / 100.0 : value;
}

std::uint8_t parseFirmware(std::string_view text)
{
    std::uint32_t value = parseUnitSerial(text);
    if (value > 0xFF) {
        throw std::invalid_argument("a firmware version is one byte, e.g. 14");
    }
    return static_cast<std::uint8_t>(value);
}

std::string hex8(std::uint32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(value));
    return text;
}

std::string rateText(double rate)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", rate);
    return text;
}

} // namespace

std::uint32_t parseUnitSerial(std::string_view text)
{
    std::string_view digits = text;
    if (digits.starts_with("0x") || digits.starts_with("0X")) {
        digits.remove_prefix(2);
    } else if (digits.starts_with("#")) {
        digits.remove_prefix(1);
    }
    std::uint32_t value = 0;
    auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (digits.empty() || error != std::errc() || end != digits.data() + digits.size()) {
        throw std::invalid_argument("expected a hexadecimal number such as 00A1B2C3, not '" +
                                    std::string(text) + "'");
    }
    return value;
}

std::string CommandInterpreter::helpText()
{
    return "help                              this list\n"
           "list                              the cradles, their state and their units\n"
           "add hid|bridge NAME [USBSERIAL]   a new cradle, plugged in\n"
           "remove NAME                       takes a cradle away for good\n"
           "plug NAME                         plugs a cradle in\n"
           "unplug NAME                       pulls a cradle out\n"
           "place NAME SERIAL [FIRMWARE]      puts a unit (hexadecimal serial number, firmware\n"
           "                                  version e.g. 14) with a recorded day on the cradle\n"
           "take NAME                         takes the unit off the cradle\n"
           "record NAME [DATE [TIME]]         fills the unit's logger with a recorded day, one\n"
           "                                  record a minute, from DATE TIME (2024-03-12 08:00;\n"
           "                                  by default the day up to now)\n"
           "advance NAME DURATION             runs the unit's clock ahead (90s, 15m, 12h, 2d;\n"
           "                                  at most 31 days), e.g. through a delayed start\n"
           "corrupt NAME RATE                 changes bytes between cradle and unit (0.01 or 1%)\n"
           "drop NAME RATE                    loses bytes between cradle and unit\n"
           "silent NAME on|off                the cradle's USB side falls silent\n"
           "mute NAME on|off                  the unit stops answering\n"
           "busy NAME on|off                  a bridge answers every transfer busy\n"
           "quit                              stops the simulator\n";
}

std::string CommandInterpreter::describe(const CradleStatus& status)
{
    std::string line = status.name + (status.kind == CradleKind::Hid ? " hid" : " bridge");
    line += status.reenumerating ? " resetting" : status.plugged ? " plugged" : " unplugged";
    char usb[16];
    std::snprintf(usb, sizeof usb, "%04X:%04X", static_cast<unsigned>(status.vendorId),
                  static_cast<unsigned>(status.productId));
    line += std::string(" usb=") + usb + "/" + status.usbSerial;
    line += " open=" + std::to_string(status.openConnections);
    line += status.unit ? " unit=#" + hex8(status.unit->serialNumber) : " no-unit";
    if (status.corruptionRate > 0) {
        line += " corrupt=" + rateText(status.corruptionRate);
    }
    if (status.dropRate > 0) {
        line += " drop=" + rateText(status.dropRate);
    }
    if (status.cradleSilent) {
        line += " silent";
    }
    if (status.unitSilent) {
        line += " muted";
    }
    if (status.busy) {
        line += " busy";
    }
    return line;
}

std::string CommandInterpreter::execute(std::string_view line)
{
    Words words = split(line);
    if (words.empty() || words[0].starts_with("#")) {
        return {};
    }
    const std::string& command = words[0];
    std::string information;
    try {
        if (command == "help") {
            information = helpText();
        } else if (command == "list") {
            requireWords(words, 1, 1);
            for (const auto& status : simulator_.cradles()) {
                information += describe(status) + "\n";
            }
        } else if (command == "add") {
            requireWords(words, 3, 4);
            std::string serial = words.size() == 4 ? words[3] : std::string();
            if (words[1] == "hid") {
                simulator_.addHidCradle(words[2], true, serial);
            } else if (words[1] == "bridge") {
                simulator_.addBridgeCradle(words[2], true, serial);
            } else {
                throw std::invalid_argument("a cradle is hid or bridge, not '" + words[1] + "'");
            }
        } else if (command == "remove") {
            requireWords(words, 2, 2);
            simulator_.removeCradle(words[1]);
        } else if (command == "plug") {
            requireWords(words, 2, 2);
            simulator_.plug(words[1]);
        } else if (command == "unplug") {
            requireWords(words, 2, 2);
            simulator_.unplug(words[1]);
        } else if (command == "place") {
            requireWords(words, 3, 4);
            UnitSpec unit = UnitSpec::demo(parseUnitSerial(words[2]));
            if (words.size() == 4) {
                unit.identity.firmwareVersion = parseFirmware(words[3]);
            }
            simulator_.placeUnit(words[1], unit);
        } else if (command == "take") {
            requireWords(words, 2, 2);
            simulator_.removeUnit(words[1]);
        } else if (command == "record") {
            requireWords(words, 2, 4);
            const std::int32_t start =
                words.size() > 2 ? parseRecordingStart(words[2], words.size() > 3 ? words[3] : "")
                                 : unitSecondsNow() - 24 * 3600;
            simulator_.withUnit(words[1], [&](Zt46Unit& unit) {
                unit.loadLoggerRecording(temperatureDayRecording(start));
                information = describeLogger(unit) + "\n";
            });
        } else if (command == "advance") {
            requireWords(words, 3, 3);
            const std::chrono::seconds step = parseClockAdvance(words[2]);
            simulator_.withUnit(words[1], [&](Zt46Unit& unit) {
                unit.advanceTime(step);
                information = describeLogger(unit) + "\n";
            });
        } else if (command == "corrupt") {
            requireWords(words, 3, 3);
            simulator_.setCorruptionRate(words[1], parseRate(words[2]));
        } else if (command == "drop") {
            requireWords(words, 3, 3);
            simulator_.setDropRate(words[1], parseRate(words[2]));
        } else if (command == "silent") {
            requireWords(words, 3, 3);
            simulator_.setCradleSilent(words[1], parseSwitch(words[2]));
        } else if (command == "mute") {
            requireWords(words, 3, 3);
            simulator_.setUnitSilent(words[1], parseSwitch(words[2]));
        } else if (command == "busy") {
            requireWords(words, 3, 3);
            simulator_.setBridgeBusy(words[1], parseSwitch(words[2]));
        } else if (command == "quit") {
            requireWords(words, 1, 1);
            quitRequested_ = true;
        } else {
            throw std::invalid_argument("unknown command '" + command + "' (see help)");
        }
    } catch (const std::exception& error) {
        std::string message = error.what();
        return "error: " + message + "\n";
    }
    return information + "ok\n";
}

} // namespace sim
