// The commands on what the chip keeps over a restart: power-up settings, USB
// identity and strings, user EEPROM, and the password entry that guards them.
#include "sim/bridge/VexaBridgeChip.h"

#include <algorithm>

#include "sim/bridge/ReportFields.h"
#include "sim/bridge/SettingsRecords.h"
#include "sim/bridge/SettingsRules.h"

namespace sim {

using namespace vexa;

namespace {

constexpr std::size_t AccessControlOffset = 18;
constexpr std::size_t NewPasswordOffset = 19;
constexpr std::size_t PasswordOffset = 4;

Password passwordAt(const Report& report, std::size_t offset)
{
    Password password;
    std::copy_n(report.begin() + static_cast<std::ptrdiff_t>(offset), PasswordLength,
                password.begin());
    return password;
}

} // namespace

void VexaBridgeChip::readEeprom(const Report& command)
{
    Report response = makeResponse(command[0], status::Ok);
    response[2] = command[1];
    response[3] = nvram_.eeprom[command[1]];
    respond(response);
}

void VexaBridgeChip::writeEeprom(const Report& command)
{
    if (eepromWriteProtect_ || nvram_.accessControl == access::Locked)
        return respond(makeResponse(command[0], status::EepromRefused));
    if (!powerUpWritesAllowed(nvram_, passwordSession_))
        return respond(makeResponse(command[0], status::Blocked));
    nvram_.eeprom[command[1]] = command[2];
    respond(makeResponse(command[0], status::Ok));
}

void VexaBridgeChip::writeNvram(const Report& command)
{
    const std::uint8_t sub = command[1];
    Report response = makeResponse(command[0], writeNvramRecord(sub, command));
    response[2] = sub;
    if (sub == nv::SpiSettings && response[1] == status::Ok)
        putSpiTransferSettings(response, nvram_.spiSettings);
    respond(response);
}

std::uint8_t VexaBridgeChip::writeNvramRecord(std::uint8_t sub, const Report& command)
{
    const bool known = sub == nv::SpiSettings || sub == nv::ChipSettings || sub == nv::UsbKey ||
                       sub == nv::ProductName || sub == nv::ManufacturerName;
    if (!known)
        return status::Unsupported;
    if (!powerUpWritesAllowed(nvram_, passwordSession_))
        return status::Blocked;

    switch (sub) {
    case nv::SpiSettings:
        if (engine_.clocking())
            return status::Busy;
        nvram_.spiSettings =
            appliedSpiSettings(takeSpiTransferSettings(command), MinBitRate, MaxBitRate);
        return status::Ok;
    case nv::ChipSettings: {
        const ChipSettings settings = takeChipSettings(command);
        if (!acceptableChipSettings(settings))
            return status::Unsupported;
        nvram_.chipSettings = settings;
        applyAccessControlWrite(nvram_, passwordSession_, command[AccessControlOffset],
                                passwordAt(command, NewPasswordOffset));
        return status::Ok;
    }
    case nv::UsbKey:
        nvram_.usbKey = takeUsbKeyRequest(command);
        return status::Ok;
    default: {
        auto text = takeStringDescriptor(command);
        if (!text)
            return status::Unsupported;
        (sub == nv::ProductName ? nvram_.product : nvram_.manufacturer) = std::move(*text);
        return status::Ok;
    }
    }
}

void VexaBridgeChip::readNvram(const Report& command)
{
    const std::uint8_t sub = command[1];
    Report response = makeResponse(command[0], status::Ok);
    response[2] = sub;
    switch (sub) {
    case nv::SpiSettings:
        putSpiTransferSettings(response, nvram_.spiSettings);
        break;
    case nv::ChipSettings:
        putChipSettings(response, nvram_.chipSettings);
        response[AccessControlOffset] = nvram_.accessControl;
        break;
    case nv::UsbKey:
        putUsbKeyAnswer(response, nvram_.usbKey);
        break;
    case nv::ProductName:
        putStringDescriptor(response, nvram_.product);
        break;
    case nv::ManufacturerName:
        putStringDescriptor(response, nvram_.manufacturer);
        break;
    case nv::SerialNumber:
        putStringDescriptor(response, nvram_.serialNumber);
        break;
    default:
        response[1] = status::Unsupported;
        break;
    }
    respond(response);
}

void VexaBridgeChip::sendPassword(const Report& command)
{
    respond(makeResponse(
        command[0], enterPassword(nvram_, passwordSession_, passwordAt(command, PasswordOffset))));
}

} // namespace sim
