#include "sim/bridge/VexaBridgeChip.h"

#include <algorithm>
#include <utility>

#include "sim/bridge/ReportFields.h"

namespace sim {

using namespace vexa;

VexaBridgeChip::VexaBridgeChip(BridgeChipNvram nvram)
    : nvram_(std::move(nvram)), spiSettings_(nvram_.spiSettings), pins_(nvram_.chipSettings)
{}

void VexaBridgeChip::receiveCommand(std::span<const std::uint8_t> command)
{
    Report report{};
    std::copy_n(command.begin(), std::min(command.size(), ReportSize), report.begin());
    dispatch(report);
}

Report VexaBridgeChip::takeResponse()
{
    Report response = responses_.front();
    responses_.pop_front();
    return response;
}

void VexaBridgeChip::advance(std::chrono::microseconds elapsed)
{
    engine_.advance(elapsed, spiSettings_.bitRate, line_, peripheralSelected());
}

std::optional<std::chrono::microseconds> VexaBridgeChip::timeToNextEvent() const
{
    return engine_.timeToEmptyBuffer(spiSettings_.bitRate);
}

bool VexaBridgeChip::takeRestartRequest()
{
    return std::exchange(restartRequested_, false);
}

void VexaBridgeChip::setFaults(const BridgeChipFaults& faults)
{
    faults_ = faults;
    engine_.setFinishAfter(faults.finishAfterBytes);
    line_.setFaultRates(faults.corruptRate, faults.dropRate, faults.seed);
}

std::uint16_t VexaBridgeChip::pinLevels() const
{
    return pins_.levels(engine_.chipSelectActive() ? spiSettings_.activeCsValues
                                                   : spiSettings_.idleCsValues);
}

bool VexaBridgeChip::peripheralSelected() const
{
    return selectPin_ < PinCount && (pinLevels() & (1u << selectPin_)) == 0;
}

void VexaBridgeChip::respond(const Report& response)
{
    if (!faults_.silent)
        responses_.push_back(response);
}

void VexaBridgeChip::restart()
{
    spiSettings_ = nvram_.spiSettings;
    pins_.restart(nvram_.chipSettings);
    passwordSession_ = {};
    engine_.abandon();
    busReleased_ = false;
    responses_.clear();
    restartRequested_ = true;
}

void VexaBridgeChip::dispatch(const Report& command)
{
    switch (command[0]) {
    case cmd::Status:
        return answerStatus(command);
    case cmd::CancelTransfer:
        return cancelTransfer(command);
    case cmd::InterruptCount:
        return interruptCount(command);
    case cmd::GetChipSettings:
        return getChipSettings(command);
    case cmd::SetChipSettings:
        return setChipSettings(command);
    case cmd::SetPinValues:
        return setPinValues(command);
    case cmd::GetPinValues:
        return getPinValues(command);
    case cmd::SetPinDirections:
        return setPinDirections(command);
    case cmd::GetPinDirections:
        return getPinDirections(command);
    case cmd::SetSpiSettings:
        return setSpiSettings(command);
    case cmd::GetSpiSettings:
        return getSpiSettings(command);
    case cmd::SpiTransfer:
        return spiTransfer(command);
    case cmd::ReadEeprom:
        return readEeprom(command);
    case cmd::WriteEeprom:
        return writeEeprom(command);
    case cmd::WriteNvram:
        return writeNvram(command);
    case cmd::ReadNvram:
        return readNvram(command);
    case cmd::SendPassword:
        return sendPassword(command);
    case cmd::BusRelease:
        return busRelease(command);
    case cmd::Reset:
        return reset(command);
    default:
        return respond(makeResponse(command[0], status::Unsupported));
    }
}

void VexaBridgeChip::fillBusStatus(Report& response) const
{
    response[2] = busReleased_ ? 1 : 0;
    if (faults_.refuseTransfers)
        response[3] = 2;
    else
        response[3] = engine_.open() ? 1 : 0;
}

void VexaBridgeChip::answerStatus(const Report& command)
{
    Report response = makeResponse(command[0], status::Ok);
    fillBusStatus(response);
    response[4] = passwordSession_.failedAttempts;
    response[5] = passwordSession_.entered ? 1 : 0;
    response[10] = engine_.stateCode();
    respond(response);
}

void VexaBridgeChip::cancelTransfer(const Report& command)
{
    engine_.abandon();
    Report response = makeResponse(command[0], status::Ok);
    fillBusStatus(response);
    respond(response);
}

void VexaBridgeChip::interruptCount(const Report& command)
{
    Report response = makeResponse(command[0], status::Ok);
    putU16(response, 4, pins_.interruptCount());
    if (command[1] != 0)
        pins_.resetInterruptCount();
    respond(response);
}

void VexaBridgeChip::spiTransfer(const Report& command)
{
    if (faults_.refuseTransfers)
        return respond(makeResponse(command[0], status::TransferRefused));
    if (faults_.busyEveryChunk)
        return respond(makeResponse(command[0], status::Busy));

    const std::size_t length = std::min<std::size_t>(command[1], ChunkCapacity);
    const bool starting = !engine_.open() && length > 0;
    const SpiEngine::Answer answer = engine_.transfer(
        std::span<const std::uint8_t>(command).subspan(4, length), spiSettings_.txferSize);
    if (starting && engine_.open())
        busReleased_ = false;

    Report response = makeResponse(command[0], answer.status);
    response[2] = static_cast<std::uint8_t>(answer.received.size());
    response[3] = answer.state;
    std::copy(answer.received.begin(), answer.received.end(), response.begin() + 4);
    respond(response);
}

void VexaBridgeChip::busRelease(const Report& command)
{
    if (engine_.clocking())
        return respond(makeResponse(command[0], status::Busy));
    engine_.abandon();
    busReleased_ = true;
    pins_.setBusReleaseAcknowledge(command[1] != 0);
    respond(makeResponse(command[0], status::Ok));
}

void VexaBridgeChip::reset(const Report& command)
{
    if (command[1] != cmd::ResetKey1 || command[2] != cmd::ResetKey2)
        return respond(makeResponse(command[0], status::Unsupported));
    restart();
}

} // namespace sim
