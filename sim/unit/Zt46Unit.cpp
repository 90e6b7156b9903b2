#include "sim/unit/Zt46Unit.h"

#include <algorithm>
#include <deque>
#include <limits>
#include <random>
#include <stdexcept>

#include "protocol/LittleEndian.h"
#include "sim/unit/UnitFrameEncoder.h"
#include "sim/unit/UnitFrameReceiver.h"
#include "sim/unit/UnitHardware.h"
#include "sim/unit/UnitLogger.h"
#include "sim/unit/UnitReadings.h"

namespace sim {

namespace {

// A random fault that strikes with a given probability.
struct RandomFault {
    double probability = 0.0;
    std::mt19937 generator;

    void configure(double newProbability, std::uint32_t seed)
    {
        probability = std::clamp(newProbability, 0.0, 1.0);
        generator.seed(seed);
    }
    bool strikes()
    {
        return probability > 0.0 && std::bernoulli_distribution(probability)(generator);
    }
};

} // namespace

struct Zt46Unit::State {
    explicit State(UnitIdentity unitIdentity) : identity(unitIdentity) {}

    UnitIdentity identity;
    bool inSession = false;
    std::uint8_t sessionId = 0;

    qzr::TSetupData factoryArea = factorySetupImage();
    qzr::TSetupData userArea = factoryArea;
    qzr::TSetupData working = userArea;

    InputSignal signal = [](std::chrono::milliseconds) { return 0.0; };
    std::int32_t batteryMillivolts = 3000;

    UnitLogger logger;
    std::size_t readoutBlockSize = DefaultReadoutBlockSize;

    std::chrono::milliseconds clock{0};
    std::chrono::milliseconds steppedUntil{0};

    UnitFrameReceiver receiver;
    std::deque<std::uint8_t> output;
    std::uint32_t framesAccepted = 0;
    std::uint32_t framesRejected = 0;

    bool silent = false;
    bool wrongSessionIdNext = false;
    unsigned corruptNext = 0;
    RandomFault checksumFault;
    std::size_t truncateNext = 0;
    RandomFault byteDrop;
    std::size_t setupReplyLength = qzr::SetupDataSize;
    int writeFaultAddress = -1;

    Readings readings() const { return computeReadings(working, signal(clock), batteryMillivolts); }

    std::uint8_t replySessionId()
    {
        if (!wrongSessionIdNext)
            return sessionId;
        wrongSessionIdNext = false;
        return static_cast<std::uint8_t>(sessionId + 1);
    }

    void queueFrame(std::span<const std::uint8_t> message)
    {
        if (silent)
            return;
        bool corrupt = checksumFault.strikes();
        if (corruptNext > 0) {
            --corruptNext;
            corrupt = true;
        }
        std::vector<std::uint8_t> frame = encodeUnitFrame(message, corrupt);
        frame.resize(frame.size() - std::min(truncateNext, frame.size()));
        truncateNext = 0;
        for (std::uint8_t byte : frame) {
            if (!byteDrop.strikes())
                output.push_back(byte);
        }
    }

    // A reply: ID, session ID, then the payload.
    void queueReply(qzr::TMessageId id, std::span<const std::uint8_t> payload = {})
    {
        std::vector<std::uint8_t> message{id, replySessionId()};
        message.insert(message.end(), payload.begin(), payload.end());
        queueFrame(message);
    }

    void handleMessage(std::span<const std::uint8_t> message);
    void answerIdentify();
    void answerSession(std::span<const std::uint8_t> message);
    void answerRequest(std::span<const std::uint8_t> message);
    void answerWriteSetup(std::span<const std::uint8_t> message);
    void answerStartLogger(std::span<const std::uint8_t> message);
    void answerReadLog(std::span<const std::uint8_t> message);
    void answerRealtime();
    void answerLoggerStatus();
    void answerReadSetup();
};

void Zt46Unit::State::handleMessage(std::span<const std::uint8_t> message)
{
    switch (message[0]) {
    case qzr::msgIdentify:
        answerIdentify();
        break;
    case qzr::msgSession:
        answerSession(message);
        break;
    default:
        if (inSession && message.size() >= 2 && message[1] == sessionId)
            answerRequest(message);
        break;
    }
}

void Zt46Unit::State::answerIdentify()
{
    // A new identification ends any session; the program follows with 0x01.
    inSession = false;
    std::uint8_t reply[9] = {qzr::msgIdentify};
    qzr::WriteU32(&reply[1], identity.serialNumber);
    reply[5] = identity.protocolVersion;
    reply[6] = identity.firmwareVersion;
    qzr::WriteU16(&reply[7], identity.configCode);
    queueFrame(reply);
}

void Zt46Unit::State::answerSession(std::span<const std::uint8_t> message)
{
    if (message.size() < 6 || qzr::ReadU32(&message[1]) != identity.serialNumber)
        return;
    sessionId = message[5];
    inSession = true;
    std::uint8_t serial[4];
    qzr::WriteU32(serial, identity.serialNumber);
    queueReply(qzr::msgSession, serial);
}

void Zt46Unit::State::answerRequest(std::span<const std::uint8_t> message)
{
    switch (message[0]) {
    case qzr::msgReadSetup:
        answerReadSetup();
        break;
    case qzr::msgRealtime:
        answerRealtime();
        break;
    case qzr::msgWriteSetup:
        answerWriteSetup(message);
        break;
    case qzr::msgFlashFactory:
        factoryArea = working;
        queueReply(qzr::msgFlashFactory);
        break;
    case qzr::msgFlashUser:
        userArea = working;
        queueReply(qzr::msgFlashUser);
        break;
    case qzr::msgLoggerStatus:
        answerLoggerStatus();
        break;
    case qzr::msgStartLogger:
        answerStartLogger(message);
        break;
    case qzr::msgReadLog:
        answerReadLog(message);
        break;
    default:
        break;
    }
}

void Zt46Unit::State::answerReadSetup()
{
    std::vector<std::uint8_t> payload(setupReplyLength, 0);
    std::copy_n(working.begin(), std::min(setupReplyLength, working.size()), payload.begin());
    queueReply(qzr::msgReadSetup, payload);
}

void Zt46Unit::State::answerRealtime()
{
    const Readings now = readings();
    std::uint8_t payload[8];
    qzr::WriteU16(&payload[0], static_cast<std::uint16_t>(now.rawInput));
    qzr::WriteU16(&payload[2], static_cast<std::uint16_t>(now.rawBattery));
    qzr::WriteU16(&payload[4], static_cast<std::uint16_t>(now.calibrated));
    qzr::WriteU16(&payload[6], static_cast<std::uint16_t>(now.userAdjusted));
    queueReply(qzr::msgRealtime, payload);
}

void Zt46Unit::State::answerWriteSetup(std::span<const std::uint8_t> message)
{
    if (message.size() < 6)
        return;
    const std::size_t address = qzr::ReadU16(&message[2]);
    const bool refused = static_cast<int>(address) == writeFaultAddress;
    std::uint8_t echo[2] = {0xFF, 0xFF};
    for (std::size_t i = 0; i < 2; ++i) {
        if (address + i >= working.size())
            continue;
        if (!refused)
            working[address + i] = message[4 + i];
        echo[i] = working[address + i];
    }
    if (refused)
        echo[0] = static_cast<std::uint8_t>(~message[4]);
    queueReply(qzr::msgWriteSetup, echo);
}

void Zt46Unit::State::answerLoggerStatus()
{
    std::uint8_t status[18];
    logger.writeStatus(status);
    queueReply(qzr::msgLoggerStatus, status);
}

void Zt46Unit::State::answerStartLogger(std::span<const std::uint8_t> message)
{
    if (message.size() < 12)
        return;
    logger.start(qzr::ReadS32(&message[2]), qzr::ReadS32(&message[6]), qzr::ReadU16(&message[10]),
                 working.Decimals(), working.SensorId());
    queueReply(qzr::msgStartLogger);
}

void Zt46Unit::State::answerReadLog(std::span<const std::uint8_t> message)
{
    if (message.size() < 4)
        return;
    const std::size_t offset = std::min<std::size_t>(qzr::ReadU16(&message[2]), qzr::LogDataSize);
    const std::size_t count = std::min(readoutBlockSize, qzr::LogDataSize - offset);
    queueReply(qzr::msgReadLog, std::span(logger.memory()).subspan(offset, count));
}

Zt46Unit::Zt46Unit(UnitIdentity identity) : d(std::make_unique<State>(identity)) {}

Zt46Unit::~Zt46Unit() = default;

void Zt46Unit::receiveByte(std::uint8_t byte)
{
    if (d->silent)
        return;
    switch (d->receiver.receiveByte(byte)) {
    case UnitFrameReceiver::Result::Pending:
        break;
    case UnitFrameReceiver::Result::Rejected:
        ++d->framesRejected;
        break;
    case UnitFrameReceiver::Result::Accepted:
        ++d->framesAccepted;
        d->handleMessage(d->receiver.message());
        break;
    }
}

bool Zt46Unit::hasOutput() const
{
    return !d->output.empty();
}

std::uint8_t Zt46Unit::takeOutputByte()
{
    if (!hasOutput())
        throw std::logic_error("Zt46Unit::takeOutputByte: no output pending");
    const std::uint8_t byte = d->output.front();
    d->output.pop_front();
    return byte;
}

std::size_t Zt46Unit::pendingOutputBytes() const
{
    return d->output.size();
}

void Zt46Unit::advanceTime(std::chrono::milliseconds elapsed)
{
    using std::chrono::seconds;
    if (elapsed.count() <= 0)
        return;
    d->clock += elapsed;
    while (d->clock - d->steppedUntil >= seconds(1)) {
        // Seconds in which the logger has nothing to do pass at once, so that
        // the clock can be run ahead by days.
        const auto whole = std::chrono::duration_cast<seconds>(d->clock - d->steppedUntil);
        if (!d->logger.running()) {
            d->steppedUntil += whole;
            break;
        }
        if (const std::uint32_t passed =
                d->logger.passDelay(static_cast<std::uint32_t>(std::min<std::int64_t>(
                    whole.count(), std::numeric_limits<std::uint32_t>::max())))) {
            d->steppedUntil += seconds(passed);
            continue;
        }
        d->steppedUntil += seconds(1);
        const Readings second =
            computeReadings(d->working, d->signal(d->steppedUntil), d->batteryMillivolts);
        d->logger.stepSecond(second.userAdjusted, d->batteryMillivolts < LowBatteryMillivolts);
    }
}

std::chrono::milliseconds Zt46Unit::unitTime() const
{
    return d->clock;
}

const UnitIdentity& Zt46Unit::identity() const
{
    return d->identity;
}

bool Zt46Unit::inSession() const
{
    return d->inSession;
}

std::uint8_t Zt46Unit::sessionId() const
{
    return d->sessionId;
}

const qzr::TSetupData& Zt46Unit::workingSetup() const
{
    return d->working;
}

const qzr::TSetupData& Zt46Unit::storedSetup(qzr::TNvmArea area) const
{
    return area == qzr::nvmFactory ? d->factoryArea : d->userArea;
}

void Zt46Unit::setWorkingSetup(const qzr::TSetupData& image)
{
    d->working = image;
}

void Zt46Unit::setStoredSetup(qzr::TNvmArea area, const qzr::TSetupData& image)
{
    (area == qzr::nvmFactory ? d->factoryArea : d->userArea) = image;
}

void Zt46Unit::setInputMicrovolts(double microvolts)
{
    d->signal = [microvolts](std::chrono::milliseconds) { return microvolts; };
}

void Zt46Unit::setInputSignal(InputSignal signal)
{
    d->signal = std::move(signal);
}

void Zt46Unit::setBatteryMillivolts(std::int32_t millivolts)
{
    d->batteryMillivolts = millivolts;
}

Zt46Unit::Readings Zt46Unit::readings() const
{
    return d->readings();
}

const qzr::TLogData& Zt46Unit::loggerMemory() const
{
    return d->logger.memory();
}

qzr::TLoggerState Zt46Unit::loggerState() const
{
    return d->logger.state();
}

std::uint16_t Zt46Unit::loggerFillPosition() const
{
    return d->logger.fillPosition();
}

std::uint32_t Zt46Unit::loggerRemainingDelay() const
{
    return d->logger.remainingDelay();
}

void Zt46Unit::loadLoggerRecording(const LoggerRecording& recording)
{
    d->logger.load(recording);
}

void Zt46Unit::setReadoutBlockSize(std::size_t bytes)
{
    d->readoutBlockSize = std::clamp<std::size_t>(bytes, 1, MaxReadoutBlockSize);
}

void Zt46Unit::sendVersionReport()
{
    std::uint8_t payload[8] = {};
    qzr::WriteU32(&payload[0], d->identity.serialNumber);
    payload[4] = d->identity.protocolVersion;
    payload[5] = d->identity.firmwareVersion;
    qzr::WriteU16(&payload[6], d->identity.configCode);
    d->queueReply(qzr::msgVersion, payload);
}

void Zt46Unit::sendDone()
{
    d->queueReply(qzr::msgDone);
}

void Zt46Unit::sendUnknownMessage(std::uint8_t messageId)
{
    const std::uint8_t message[2] = {messageId, d->sessionId};
    d->queueFrame(message);
}

void Zt46Unit::setSilent(bool silent)
{
    d->silent = silent;
}

void Zt46Unit::answerNextWithWrongSessionId()
{
    d->wrongSessionIdNext = true;
}

void Zt46Unit::corruptNextChecksums(unsigned count)
{
    d->corruptNext = count;
}

void Zt46Unit::setChecksumCorruptionRate(double probability, std::uint32_t seed)
{
    d->checksumFault.configure(probability, seed);
}

void Zt46Unit::truncateNextFrame(std::size_t count)
{
    d->truncateNext = count;
}

void Zt46Unit::setByteDropRate(double probability, std::uint32_t seed)
{
    d->byteDrop.configure(probability, seed);
}

void Zt46Unit::setSetupReplyLength(std::size_t bytes)
{
    d->setupReplyLength = std::min(bytes, MaxReadoutBlockSize);
}

void Zt46Unit::setWriteFaultAddress(int address)
{
    d->writeFaultAddress = address;
}

std::uint32_t Zt46Unit::framesAccepted() const
{
    return d->framesAccepted;
}

std::uint32_t Zt46Unit::framesRejected() const
{
    return d->framesRejected;
}

} // namespace sim
