#include "BridgeChipTestSupport.h"

#include <algorithm>

#include "sim/bridge/ReportFields.h"
#include "sim/bridge/SettingsRecords.h"

namespace bridge_test {

using namespace sim::vexa;

Report makeCommand(std::initializer_list<std::uint8_t> bytes)
{
    Report command{};
    std::copy(bytes.begin(), bytes.end(), command.begin());
    return command;
}

Report roundTrip(sim::VexaBridgeChip& chip, const Report& command)
{
    chip.receiveCommand(command);
    EXPECT_TRUE(chip.hasResponse()) << "no response to command " << int(command[0]);
    if (!chip.hasResponse())
        return Report{};
    Report response = chip.takeResponse();
    EXPECT_FALSE(chip.hasResponse()) << "more than one response to command " << int(command[0]);
    return response;
}

Report roundTrip(sim::VexaBridgeChip& chip, std::initializer_list<std::uint8_t> bytes)
{
    return roundTrip(chip, makeCommand(bytes));
}

Report spiSettingsCommand(std::uint8_t code, const sim::SpiTransferSettings& settings)
{
    Report command = makeCommand({code});
    if (code == cmd::WriteNvram)
        command[1] = nv::SpiSettings;
    putSpiTransferSettings(command, settings);
    return command;
}

Report chipSettingsCommand(const sim::ChipSettings& settings)
{
    Report command = makeCommand({cmd::SetChipSettings});
    putChipSettings(command, settings);
    return command;
}

Report powerUpChipSettingsCommand(const sim::ChipSettings& settings, std::uint8_t accessControl,
                                  const Password& newPassword)
{
    Report command = makeCommand({cmd::WriteNvram, nv::ChipSettings});
    putChipSettings(command, settings);
    command[18] = accessControl;
    std::copy(newPassword.begin(), newPassword.end(), command.begin() + 19);
    return command;
}

Report passwordCommand(const Password& password)
{
    Report command = makeCommand({cmd::SendPassword});
    std::copy(password.begin(), password.end(), command.begin() + 4);
    return command;
}

Report stringCommand(std::uint8_t sub, const std::u16string& text)
{
    Report command = makeCommand({cmd::WriteNvram, sub});
    putStringDescriptor(command, text);
    return command;
}

Password password(const char (&text)[9])
{
    Password result;
    std::copy_n(text, PasswordLength, result.begin());
    return result;
}

std::uint8_t ScriptedPeripheral::nextOutByte()
{
    if (toSend.empty())
        return fill;
    const std::uint8_t byte = toSend.front();
    toSend.pop_front();
    return byte;
}

HostTransfer runHostTransfer(sim::VexaBridgeChip& chip, std::span<const std::uint8_t> txData,
                             std::chrono::microseconds exchangeTime)
{
    constexpr unsigned MaxRounds = 200;
    HostTransfer result;
    const std::size_t size = txData.size();
    const std::uint32_t bitRate = chip.currentSpiSettings().bitRate;
    const auto busyDelay = std::chrono::milliseconds(100000 / bitRate + 1);
    std::size_t chunk = std::min(size, ChunkCapacity);
    std::size_t remaining = size - chunk;
    std::size_t sent = 0;

    auto pass = [&](std::chrono::microseconds time) {
        chip.advance(time);
        result.elapsed += time;
    };
    auto take = [&](const Report& response) {
        const std::size_t count = std::min<std::size_t>(response[2], size - result.received.size());
        result.received.insert(result.received.end(), response.begin() + 4,
                               response.begin() + 4 + static_cast<std::ptrdiff_t>(count));
    };

    while (result.received.size() < size) {
        Report command = makeCommand({cmd::SpiTransfer, static_cast<std::uint8_t>(chunk)});
        std::copy_n(txData.begin() + static_cast<std::ptrdiff_t>(sent), chunk, command.begin() + 4);
        chip.receiveCommand(command);
        pass(exchangeTime);
        if (!chip.hasResponse())
            return result;
        const Report response = chip.takeResponse();
        if (response[0] != cmd::SpiTransfer)
            return result;
        if (response[1] == status::TransferRefused) {
            result.outcome = HostTransfer::Outcome::Refused;
            return result;
        }
        if (response[1] == status::Busy) {
            ++result.rounds;
            ++result.busyAnswers;
            pass(busyDelay);
        } else if (response[1] != status::Ok) {
            return result;
        } else if (response[3] == xfer::Finished) {
            take(response);
            result.outcome = result.received.size() >= size ? HostTransfer::Outcome::Done
                                                            : HostTransfer::Outcome::Short;
            return result;
        } else if (response[3] == xfer::Started || response[3] == xfer::DataReady) {
            if (response[3] == xfer::DataReady)
                take(response);
            if (remaining > 0) {
                sent += chunk;
                chunk = std::min(remaining, ChunkCapacity);
                remaining -= chunk;
            } else {
                chunk = 0;
                ++result.rounds;
            }
        } else {
            return result;
        }
        if (result.rounds >= MaxRounds) {
            result.outcome = HostTransfer::Outcome::GaveUp;
            return result;
        }
    }
    result.outcome = HostTransfer::Outcome::Done;
    return result;
}

} // namespace bridge_test
