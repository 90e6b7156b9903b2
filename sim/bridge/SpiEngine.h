#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/bridge/SpiLine.h"

// The bridge chip's SPI transfer engine: one transaction at a time, fed by the
// host in chunks of up to 60 bytes, clocked byte by byte at the bit rate as
// the chip's clock advances.
//
// A transaction starts with the first non-empty chunk and runs for the SPI
// transaction size in force at that moment. The chip holds one chunk in its
// transmit buffer; the bytes received while a chunk is clocked become ready
// when its last byte is through, and go back with the answer to the next
// transfer command. Per transfer command:
// - no transaction open: an empty chunk (or a transaction size of 0) is
//   answered finished with no data; otherwise the transaction starts, the
//   chunk is taken and the answer is started (0x20);
// - the transaction has clocked its last byte: finished (0x10) with the bytes
//   not yet returned, which closes it; the chunk is not taken;
// - a chunk is still being clocked: busy (0xF8), the chunk is not taken;
// - otherwise the chunk is taken (bytes beyond the transaction size are
//   dropped) and the answer is data ready (0x30) with the bytes that became
//   ready, or started (0x20) when none did.
// The chip-select lines are active from the start of a transaction until its
// last byte is clocked.
namespace sim {

class SpiEngine {
public:
    struct Answer {
        std::uint8_t status;
        std::uint8_t state;
        std::vector<std::uint8_t> received;
    };

    Answer transfer(std::span<const std::uint8_t> chunk, std::uint16_t transactionSize);

    // Clocks buffered bytes for `elapsed` at `bitRate` bit/s over `line`;
    // `selected` tells whether the peripheral's chip select is active.
    void advance(std::chrono::microseconds elapsed, std::uint32_t bitRate, SpiLine& line,
                 bool selected);

    // Time until the transmit buffer is clocked out; nothing while it is empty.
    std::optional<std::chrono::microseconds> timeToEmptyBuffer(std::uint32_t bitRate) const;

    bool open() const { return open_; }
    bool clocking() const { return txPosition_ < txChunk_.size(); }
    bool chipSelectActive() const { return open_ && !complete_; }
    // 0x00 no transaction; else the state the next answer would report.
    std::uint8_t stateCode() const;

    // Ends any open transaction at once; undelivered bytes are lost.
    void abandon();

    // A fault: every transaction ends after this many bytes (nothing: normal).
    void setFinishAfter(std::optional<std::uint32_t> bytes) { finishAfter_ = bytes; }

private:
    void take(std::span<const std::uint8_t> chunk);
    void clockByte(SpiLine& line, bool selected);
    void complete();
    std::vector<std::uint8_t> deliverReady();

    bool open_ = false;
    bool complete_ = false;
    std::uint32_t total_ = 0;
    std::uint32_t accepted_ = 0;
    std::uint32_t clocked_ = 0;
    std::vector<std::uint8_t> txChunk_;
    std::size_t txPosition_ = 0;
    std::vector<std::uint8_t> rxCurrent_;
    std::vector<std::uint8_t> rxReady_;
    // Bit-microseconds accumulated towards the next byte (8 000 000 per byte
    // at 1 bit/s).
    std::uint64_t bitMicroseconds_ = 0;
    std::optional<std::uint32_t> finishAfter_;
};

} // namespace sim
