#include "BridgeLinkClient.h"

#include <thread>

namespace simtest {
namespace {

constexpr std::uint8_t SetSpiSettings = 0x40;
constexpr std::uint8_t SpiTransfer = 0x42;
constexpr std::uint8_t Busy = 0xF8;
constexpr std::uint8_t Finished = 0x10;
constexpr std::uint8_t Started = 0x20;
constexpr std::uint8_t DataReady = 0x30;
constexpr std::size_t MaxChunk = 60;
constexpr int MaxRounds = 2000;

void put16(Bytes& bytes, std::size_t offset, std::uint16_t value)
{
    bytes[offset] = static_cast<std::uint8_t>(value);
    bytes[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

} // namespace

std::optional<Bytes> BridgeLinkClient::command(const Bytes& bytes,
                                               std::chrono::milliseconds timeout)
{
    Bytes report(65, 0);
    std::copy(bytes.begin(),
              bytes.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(bytes.size(), 64)),
              report.begin() + 1);
    if (!client_.send(report)) {
        return std::nullopt;
    }
    auto response = client_.receive(timeout);
    if (!response || response->size() != 65) {
        return std::nullopt;
    }
    return Bytes(response->begin() + 1, response->end());
}

bool BridgeLinkClient::setSpiSettings(std::uint32_t bitRate, std::uint16_t transactionSize)
{
    Bytes settings(21, 0);
    settings[0] = SetSpiSettings;
    for (int i = 0; i < 4; ++i) {
        settings[4 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bitRate >> (8 * i));
    }
    put16(settings, 8, 0x01FF);
    put16(settings, 10, 0x01EF);
    put16(settings, 16, 20);
    put16(settings, 18, transactionSize);
    auto response = command(settings);
    if (!response || (*response)[0] != SetSpiSettings || (*response)[1] != 0) {
        return false;
    }
    transactionSize_ = static_cast<std::uint16_t>((*response)[18] | ((*response)[19] << 8));
    return transactionSize_ == transactionSize;
}

std::optional<Bytes> BridgeLinkClient::transfer(const Bytes& tx)
{
    if (tx.size() != transactionSize_ &&
        !setSpiSettings(4000, static_cast<std::uint16_t>(tx.size()))) {
        return std::nullopt;
    }
    Bytes rx;
    std::size_t sent = 0;
    for (int round = 0; round < MaxRounds; ++round) {
        std::size_t chunk = std::min(MaxChunk, tx.size() - sent);
        Bytes request{SpiTransfer, static_cast<std::uint8_t>(chunk), 0, 0};
        request.insert(request.end(), tx.begin() + static_cast<std::ptrdiff_t>(sent),
                       tx.begin() + static_cast<std::ptrdiff_t>(sent + chunk));
        auto response = command(request);
        if (!response || (*response)[0] != SpiTransfer) {
            return std::nullopt;
        }
        if ((*response)[1] == Busy) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            continue;
        }
        if ((*response)[1] != 0) {
            return std::nullopt;
        }
        std::size_t count = std::min<std::size_t>((*response)[2], tx.size() - rx.size());
        std::uint8_t state = (*response)[3];
        if (state == Finished || state == DataReady) {
            rx.insert(rx.end(), response->begin() + 4,
                      response->begin() + 4 + static_cast<std::ptrdiff_t>(count));
        }
        if (state == Finished) {
            return rx.size() == tx.size() ? std::optional<Bytes>(rx) : std::nullopt;
        }
        if (state != Started && state != DataReady) {
            return std::nullopt;
        }
        sent += chunk;
        if (rx.size() >= tx.size()) {
            return rx;
        }
    }
    return std::nullopt;
}

bool BridgeLinkClient::transact(Bytes tx)
{
    if (tx.size() < PollSize) {
        tx.resize(PollSize, FillByte);
    }
    auto rx = transfer(tx);
    if (!rx) {
        return false;
    }
    lastReceived_ = *rx;
    for (std::uint8_t byte : *rx) {
        if (auto message = reader_.feed(byte)) {
            messages_.push_back(*message);
        }
    }
    return true;
}

bool BridgeLinkClient::sendMessage(const Bytes& message)
{
    return transact(frameToUnit(message));
}

std::optional<Bytes> BridgeLinkClient::receiveMessage(int pollLimit)
{
    for (int poll = 0; messages_.empty(); ++poll) {
        if (poll >= pollLimit || !transact({})) {
            return std::nullopt;
        }
    }
    Bytes message = messages_.front();
    messages_.pop_front();
    return message;
}

} // namespace simtest
