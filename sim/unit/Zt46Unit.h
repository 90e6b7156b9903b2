#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "protocol/LogData.h"
#include "protocol/SetupData.h"
#include "protocol/UnitProtocol.h"

// Model of the ZT-46 readout unit's firmware as seen through its serial link:
// bytes in, bytes out, a clock driven from outside. It does no I/O of its own
// and is single-threaded; whoever owns it (a cradle model) serialises access.
//
// Link behaviour:
// - Frames towards the unit carry the 8-bit XOR checksum seeded 0xA5; frames
//   from the unit carry the 16-bit additive checksum (low byte first). Both
//   double every 0x10 between DLE STX and DLE ETX.
// - A corrupt frame towards the unit (bad checksum, bad DLE sequence, longer
//   than the unit's 64-byte receive buffer) is dropped without an answer, so
//   the program's time-out and resend rules come into play.
// - 0x00 is answered with the identity, 0x01 carrying the unit's own serial
//   number makes it adopt the session ID; from then on requests 0x20-0x24 and
//   0x27-0x29 carrying that session ID in byte 1 are answered with one reply
//   each. Requests with another session ID, requests before a session and
//   unknown message IDs are ignored.
//
// Live readings (0x21), per amplifier range i (0..5, selected by word 36-37 of
// the working setup image, halved):
//   raw input      = round(hardwareOffset[i] + u * fullCounts[i] / rangeMicrovolts[i]
//                          * hardwareGain[i]), clamped to -32768..32767
//   raw battery    = battery voltage in millivolts, clamped likewise
//   calibrated     = (raw - offset[i]) * multiplier[i] / divider[i]
//   user-adjusted  = calibrated * userMultiplier / userDivider, shown as 0
//                    when negative and the image does not allow negatives
// where u is the input signal in microvolts, offset/multiplier/divider are the
// calibration words of the working image and a zero divider gives 0. The
// integer divisions truncate towards zero; results are clamped to 16 bits.
// A fresh unit's factory calibration matches its hardware, so its calibrated
// reading is the ideal count of the range (e.g. 1x: 10 counts per 100 uV).
//
// Logger (0x28 erase-and-start, 0x27 status, 0x29 readout): the 28160-byte
// memory holds the head (T, D, interval, decimals, sensor ID) and then one
// 8-byte record per interval: minimum, maximum and integral of the
// user-adjusted reading sampled once per second of unit time, the integral
// being the sum of the samples (so integral / interval is the average).
// While logging, a battery below LowBatteryMillivolts stops the logger in the
// battery-low state.
namespace sim {

struct UnitIdentity {
    std::uint32_t serialNumber;
    std::uint8_t protocolVersion;
    std::uint8_t firmwareVersion;
    std::uint16_t configCode;
};

// One logger interval record as the unit stores it.
struct LoggerRecord {
    std::int16_t minimum;
    std::int16_t maximum;
    std::int32_t integral;

    bool operator==(const LoggerRecord&) const = default;
};

// A complete logger recording, for filling the memory without waiting.
struct LoggerRecording {
    std::int32_t startTime = 0; // seconds from 2000-01-01 00:00:00, local time
    std::int32_t delay = 0;     // seconds
    std::uint16_t interval = 60;
    std::uint8_t decimals = 0;
    std::uint8_t sensorId = 1;
    std::vector<LoggerRecord> records; // at most qzr::LogRecordCount are kept

    bool operator==(const LoggerRecording&) const = default;
};

// The input signal in microvolts as a function of the unit's clock.
using InputSignal = std::function<double(std::chrono::milliseconds unitTime)>;

class Zt46Unit {
public:
    // Amplifier ranges 0..5 (1x..32x): input range and counts at full range.
    static constexpr std::int32_t RangeMicrovolts[6] = {200000, 100000, 50000, 25000, 12500, 6250};
    static constexpr std::int32_t FullRangeCounts[6] = {20000, 10000, 5000, 25000, 12500, 6250};

    // The largest logger block a reply carries: a frame from the unit holds at
    // most 512 unstuffed bytes, of which ID, session ID and checksum take four.
    static constexpr std::size_t MaxReadoutBlockSize = qzr::MaxUnstuffedFrameBytes - 4;
    static constexpr std::size_t DefaultReadoutBlockSize = 256;
    static constexpr std::int32_t LowBatteryMillivolts = 2300;

    // A fresh unit: factory and user areas hold the same factory image
    // (calibration matching the hardware, range 1x, user scaling 1/1, one
    // decimal, negatives allowed, sensor ID 1), the logger memory is erased.
    explicit Zt46Unit(UnitIdentity identity);
    ~Zt46Unit();
    Zt46Unit(const Zt46Unit&) = delete;
    Zt46Unit& operator=(const Zt46Unit&) = delete;

    // ---- the serial link ----

    // One byte from the program (through a cradle).
    void receiveByte(std::uint8_t byte);
    // Bytes of the unit's outgoing frames, one by one, in order.
    bool hasOutput() const;
    // Returns the next byte and removes it; throws std::logic_error when
    // there is none (callers test hasOutput first).
    std::uint8_t takeOutputByte();
    // Number of outgoing bytes waiting.
    std::size_t pendingOutputBytes() const;

    // ---- time ----

    // Advances the unit's clock; the logger steps once per whole second.
    void advanceTime(std::chrono::milliseconds elapsed);
    std::chrono::milliseconds unitTime() const;

    // ---- identity and session ----

    const UnitIdentity& identity() const;
    bool inSession() const;
    std::uint8_t sessionId() const;

    // ---- setup image ----

    const qzr::TSetupData& workingSetup() const;
    const qzr::TSetupData& storedSetup(qzr::TNvmArea area) const;
    void setWorkingSetup(const qzr::TSetupData& image);
    void setStoredSetup(qzr::TNvmArea area, const qzr::TSetupData& image);

    // ---- signals ----

    void setInputMicrovolts(double microvolts);
    void setInputSignal(InputSignal signal);
    void setBatteryMillivolts(std::int32_t millivolts);

    // The four readings a 0x21 reply would carry now.
    struct Readings {
        std::int16_t rawInput;
        std::int16_t rawBattery;
        std::int16_t calibrated;
        std::int16_t userAdjusted;
    };
    Readings readings() const;

    // ---- logger ----

    const qzr::TLogData& loggerMemory() const;
    qzr::TLoggerState loggerState() const;
    // Offset of the next record to be written (14 after an erase).
    std::uint16_t loggerFillPosition() const;
    // Seconds left of a delayed start (0 unless armed).
    std::uint32_t loggerRemainingDelay() const;
    // Erases the memory and writes the recording into it; the logger is then
    // idle (or memory full when all records are used).
    void loadLoggerRecording(const LoggerRecording& recording);
    // Bytes per 0x29 reply; clamped to 1..MaxReadoutBlockSize.
    void setReadoutBlockSize(std::size_t bytes);

    // ---- messages on demand ----

    // Queues the unit's own 0x25 (version report) or 0x26 (operation end)
    // with the current session ID.
    void sendVersionReport();
    void sendDone();
    // Queues a well-formed frame with an ID the program does not know.
    void sendUnknownMessage(std::uint8_t messageId = 0x05);

    // ---- faults on demand ----

    // A silent unit takes bytes but neither answers nor queues anything.
    void setSilent(bool silent);
    // The next reply carries a session ID one above the adopted one.
    void answerNextWithWrongSessionId();
    // The next `count` outgoing frames carry a wrong checksum.
    void corruptNextChecksums(unsigned count);
    // Each outgoing frame's checksum is corrupted with this probability
    // (0 turns it off), drawn from a generator seeded with `seed`.
    void setChecksumCorruptionRate(double probability, std::uint32_t seed);
    // The next outgoing frame loses its last `count` bytes (from the end), so
    // the receiver waits inside the frame.
    void truncateNextFrame(std::size_t count);
    // Each outgoing byte is lost with this probability (0 turns it off).
    void setByteDropRate(double probability, std::uint32_t seed);
    // 0x20 is answered with this many image bytes (default 64; beyond 64 the
    // reply carries zeros), to exercise short and long images.
    void setSetupReplyLength(std::size_t bytes);
    // A write (0x22) of the pair at this address is not taken and its echo
    // differs from the bytes sent. A negative address turns it off.
    void setWriteFaultAddress(int address);

    // ---- counters ----

    // Frames towards the unit that passed / failed the checks.
    std::uint32_t framesAccepted() const;
    std::uint32_t framesRejected() const;

private:
    struct State;
    std::unique_ptr<State> d;
};

} // namespace sim
