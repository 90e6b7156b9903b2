#include "sim/bridge/SpiEngine.h"

#include <algorithm>

#include "sim/bridge/VexaProtocol.h"

namespace sim {

namespace {
constexpr std::uint64_t BitMicrosecondsPerByte = 8'000'000;
} // namespace

SpiEngine::Answer SpiEngine::transfer(std::span<const std::uint8_t> chunk,
                                      std::uint16_t transactionSize)
{
    if (!open_) {
        if (chunk.empty() || transactionSize == 0)
            return {vexa::status::Ok, vexa::xfer::Finished, {}};
        open_ = true;
        complete_ = false;
        total_ = transactionSize;
        accepted_ = 0;
        clocked_ = 0;
        take(chunk);
        return {vexa::status::Ok, vexa::xfer::Started, {}};
    }
    if (complete_) {
        auto received = deliverReady();
        if (!rxReady_.empty())
            return {vexa::status::Ok, vexa::xfer::DataReady, std::move(received)};
        open_ = false;
        return {vexa::status::Ok, vexa::xfer::Finished, std::move(received)};
    }
    if (clocking())
        return {vexa::status::Busy, 0, {}};

    take(chunk);
    auto received = deliverReady();
    if (received.empty())
        return {vexa::status::Ok, vexa::xfer::Started, {}};
    return {vexa::status::Ok, vexa::xfer::DataReady, std::move(received)};
}

void SpiEngine::advance(std::chrono::microseconds elapsed, std::uint32_t bitRate, SpiLine& line,
                        bool selected)
{
    if (!clocking() || elapsed.count() <= 0)
        return;
    const std::uint64_t rate = std::max<std::uint32_t>(bitRate, 1);
    const std::uint64_t needed =
        (txChunk_.size() - txPosition_) * BitMicrosecondsPerByte - bitMicroseconds_;
    const auto micros = static_cast<std::uint64_t>(elapsed.count());
    if (micros >= needed / rate + 1)
        bitMicroseconds_ += needed;
    else
        bitMicroseconds_ += micros * rate;

    while (clocking() && bitMicroseconds_ >= BitMicrosecondsPerByte) {
        bitMicroseconds_ -= BitMicrosecondsPerByte;
        clockByte(line, selected);
    }
    if (!clocking())
        bitMicroseconds_ = 0;
}

std::optional<std::chrono::microseconds> SpiEngine::timeToEmptyBuffer(std::uint32_t bitRate) const
{
    if (!clocking())
        return std::nullopt;
    const std::uint64_t rate = std::max<std::uint32_t>(bitRate, 1);
    const std::uint64_t needed =
        (txChunk_.size() - txPosition_) * BitMicrosecondsPerByte - bitMicroseconds_;
    return std::chrono::microseconds((needed + rate - 1) / rate);
}

std::uint8_t SpiEngine::stateCode() const
{
    if (!open_)
        return 0x00;
    if (complete_)
        return vexa::xfer::Finished;
    return rxReady_.empty() ? vexa::xfer::Started : vexa::xfer::DataReady;
}

void SpiEngine::abandon()
{
    open_ = false;
    complete_ = false;
    txChunk_.clear();
    txPosition_ = 0;
    rxCurrent_.clear();
    rxReady_.clear();
    bitMicroseconds_ = 0;
}

void SpiEngine::take(std::span<const std::uint8_t> chunk)
{
    const std::size_t count = std::min<std::size_t>(chunk.size(), total_ - accepted_);
    txChunk_.assign(chunk.begin(), chunk.begin() + static_cast<std::ptrdiff_t>(count));
    txPosition_ = 0;
    accepted_ += static_cast<std::uint32_t>(count);
    bitMicroseconds_ = 0;
}

void SpiEngine::clockByte(SpiLine& line, bool selected)
{
    rxCurrent_.push_back(line.exchange(txChunk_[txPosition_++], selected));
    ++clocked_;
    if (!clocking()) {
        rxReady_.insert(rxReady_.end(), rxCurrent_.begin(), rxCurrent_.end());
        rxCurrent_.clear();
    }
    if (clocked_ == total_ || (finishAfter_ && clocked_ >= *finishAfter_))
        complete();
}

void SpiEngine::complete()
{
    rxReady_.insert(rxReady_.end(), rxCurrent_.begin(), rxCurrent_.end());
    rxCurrent_.clear();
    txChunk_.clear();
    txPosition_ = 0;
    complete_ = true;
}

std::vector<std::uint8_t> SpiEngine::deliverReady()
{
    const std::size_t count = std::min(rxReady_.size(), vexa::ChunkCapacity);
    std::vector<std::uint8_t> delivered(rxReady_.begin(),
                                        rxReady_.begin() + static_cast<std::ptrdiff_t>(count));
    rxReady_.erase(rxReady_.begin(), rxReady_.begin() + static_cast<std::ptrdiff_t>(count));
    return delivered;
}

} // namespace sim
