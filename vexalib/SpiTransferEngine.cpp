#include "SpiTransferEngine.h"

#include "ChipCommands.h"
#include "CommandExchange.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstring>
#include <thread>

namespace vexa {
namespace {

constexpr std::size_t chunkHeaderSize = 4;
constexpr std::size_t receivedCountOffset = 2;
constexpr std::size_t engineStateOffset = 3;
constexpr std::size_t receivedDataOffset = 4;

static_assert(100000 / VEXA_LOWEST_BIT_RATE + 1 == VEXA_BUSY_PAUSE_LIMIT_MS,
              "the pause limit is the busy delay at the lowest bit rate");

// Copies the received bytes of an answer that are still expected.
std::uint32_t takeReceived(const std::array<std::uint8_t, commandSize>& response,
                           std::uint8_t* rxData, std::uint32_t received, std::uint32_t size)
{
    const std::uint32_t count =
        std::min<std::uint32_t>({response[receivedCountOffset], size - received, maximumChunkSize});
    std::memcpy(rxData + received, response.data() + receivedDataOffset, count);
    return count;
}

} // namespace

std::uint32_t busyDelayMilliseconds(std::uint32_t bitRate)
{
    return bitRate == 0 ? 1 : 100000 / bitRate + 1;
}

std::uint32_t busyPauseMilliseconds(std::uint32_t bitRate)
{
    return std::min<std::uint32_t>(busyDelayMilliseconds(bitRate), VEXA_BUSY_PAUSE_LIMIT_MS);
}

void sleepFor(std::chrono::milliseconds pause)
{
    std::this_thread::sleep_for(pause);
}

std::int32_t runSpiTransfer(VexaHandle handle, const std::uint8_t* txData, std::uint8_t* rxData,
                            std::uint32_t bitRate, std::uint32_t size, const BusyPause& pause)
{
    const auto busyPause = std::chrono::milliseconds(busyPauseMilliseconds(bitRate));
    std::uint32_t chunk = std::min(size, maximumChunkSize);
    std::uint32_t remaining = size - chunk;
    std::uint32_t sent = 0;
    std::uint32_t received = 0;
    std::uint32_t rounds = 0;

    while (received < size) {
        std::array<std::uint8_t, commandSize> command{VEXA_CMD_SPI_TRANSFER,
                                                      static_cast<std::uint8_t>(chunk)};
        std::memcpy(command.data() + chunkHeaderSize, txData + sent, chunk);
        std::array<std::uint8_t, commandSize> response{};
        const auto result = exchangeCommand(
            handle, std::span<const std::uint8_t>(command.data(), chunkHeaderSize + chunk),
            response);
        if (result != VEXA_OK)
            return result;
        if (response[0] != VEXA_CMD_SPI_TRANSFER)
            return VEXA_ECHO_MISMATCH;

        switch (response[1]) {
        case 0x00:
            break;
        case VEXA_ST_TRANSFER_REFUSED:
            return VEXA_SPI_TRANSFER_REFUSED;
        case VEXA_ST_BUSY:
            // The same chunk is offered again after the pause.
            ++rounds;
            pause(busyPause);
            if (rounds >= VEXA_TRANSFER_ROUNDS)
                return VEXA_TRANSFER_GAVE_UP;
            continue;
        default:
            return VEXA_FAILED;
        }

        switch (response[engineStateOffset]) {
        case VEXA_XFER_FINISHED: {
            const std::uint32_t count = takeReceived(response, rxData, received, size);
            return received + count >= size ? VEXA_OK : VEXA_TRANSFER_SHORT;
        }
        case VEXA_XFER_DATA_READY:
            received += takeReceived(response, rxData, received, size);
            break;
        case VEXA_XFER_STARTED:
            break;
        default:
            return VEXA_FAILED;
        }
        if (remaining > 0) {
            // The chunk was taken: offer the next one.
            sent += chunk;
            chunk = std::min(remaining, maximumChunkSize);
            remaining -= chunk;
        } else {
            // Everything is sent: poll with empty chunks for what is still
            // to come back.
            chunk = 0;
            ++rounds;
        }
        if (rounds >= VEXA_TRANSFER_ROUNDS)
            return VEXA_TRANSFER_GAVE_UP;
    }
    return VEXA_OK;
}

} // namespace vexa
