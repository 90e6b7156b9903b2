// The commands on the settings the chip runs with now: chip settings, pins
// and SPI transfer settings.
#include "sim/bridge/VexaBridgeChip.h"

#include "sim/bridge/ReportFields.h"
#include "sim/bridge/SettingsRecords.h"
#include "sim/bridge/SettingsRules.h"

namespace sim {

using namespace vexa;

namespace {
// Offset 2 of the SPI settings answers: the length of the record they carry.
constexpr std::uint8_t SpiSettingsRecordLength = 0x11;
} // namespace

void VexaBridgeChip::getChipSettings(const Report& command)
{
    Report response = makeResponse(command[0], status::Ok);
    putChipSettings(response, pins_.settings());
    respond(response);
}

void VexaBridgeChip::setChipSettings(const Report& command)
{
    const ChipSettings settings = takeChipSettings(command);
    if (!acceptableChipSettings(settings))
        return respond(makeResponse(command[0], status::Unsupported));
    pins_.setSettings(settings);
    respond(makeResponse(command[0], status::Ok));
}

void VexaBridgeChip::setPinValues(const Report& command)
{
    pins_.setOutputs(getU16(command, 4));
    Report response = makeResponse(command[0], status::Ok);
    putU16(response, 4, pinLevels());
    respond(response);
}

void VexaBridgeChip::getPinValues(const Report& command)
{
    Report response = makeResponse(command[0], status::Ok);
    putU16(response, 4, pinLevels());
    respond(response);
}

void VexaBridgeChip::setPinDirections(const Report& command)
{
    pins_.setDirections(getU16(command, 4));
    respond(makeResponse(command[0], status::Ok));
}

void VexaBridgeChip::getPinDirections(const Report& command)
{
    Report response = makeResponse(command[0], status::Ok);
    putU16(response, 4, pins_.settings().defaultDirections);
    respond(response);
}

void VexaBridgeChip::setSpiSettings(const Report& command)
{
    if (engine_.clocking())
        return respond(makeResponse(command[0], status::Busy));
    engine_.abandon();
    spiSettings_ = appliedSpiSettings(takeSpiTransferSettings(command), MinBitRate, MaxBitRate);
    Report response = makeResponse(command[0], status::Ok);
    response[2] = SpiSettingsRecordLength;
    putSpiTransferSettings(response, spiSettings_);
    respond(response);
}

void VexaBridgeChip::getSpiSettings(const Report& command)
{
    Report response = makeResponse(command[0], status::Ok);
    response[2] = SpiSettingsRecordLength;
    putSpiTransferSettings(response, spiSettings_);
    respond(response);
}

} // namespace sim
