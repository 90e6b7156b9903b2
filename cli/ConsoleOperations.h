#pragma once

#include <cradle/operations/UnitOperations.h>

#include <QTimer>

#include <array>
#include <cstdint>
#include <functional>
#include <optional>

namespace qzr::cli {

// The unit operations of one session (the same TUnitOperations as the control
// window's) with a console's view of them: no controls, the unit's own setup
// image standing in for the window's fields, the realtime and logger timers,
// and what each operation reports kept for the command that started it.
class TConsoleOperations : private TSetupProgrammingReport,
                           private TLiveReadingsView,
                           private TCalibrationFieldsView,
                           private TDataLoggerView,
                           private TLogReadoutReport,
                           private TUnitReplyHandler {
public:
    explicit TConsoleOperations(TSessionProtocol& session);
    TConsoleOperations(const TConsoleOperations&) = delete;
    TConsoleOperations& operator=(const TConsoleOperations&) = delete;

    TUnitOperations& Operations() { return FOperations; }

    // The progress meter of programming and readout.
    std::function<void(int percent)> OnProgress;
    // A set of live readings arrived.
    std::function<void(const TRealtimeReadings& readings)> OnReadings;

    // What the operations reported, cleared by the command before it starts one.
    std::optional<std::uint16_t> ProgrammingFailedAt;
    bool ProgrammingDone = false;
    bool LoggerStartDone = false;
    std::optional<TLoggerStatusTexts> LoggerStatus;
    // The whole 0x27 reply (ID at 0) that the last status texts came from.
    std::array<std::uint8_t, 20> LoggerStatusMessage{};
    std::optional<TLogData> ReadoutImage;

private:
    // TSetupProgrammingReport, TLogReadoutReport
    void SetProgress(int percent) override;
    void ProgrammingFailed(std::uint16_t address) override { ProgrammingFailedAt = address; }
    void ProgrammingStored(TNvmArea) override { ProgrammingDone = true; }
    void ReadoutComplete(const TLogData& image) override { ReadoutImage = image; }

    // TLiveReadingsView
    void SetRealtimeTimerActive(bool active) override;
    void ShowReadings(const TRealtimeReadings& readings) override;
    void ClearReadings() override {}

    // TCalibrationFieldsView: the unit's image, the "Link" boxes never checked,
    // so nothing is ever copied into it.
    int AmplifierIndex() const override;
    bool LinkOffsetChecked() const override { return false; }
    bool LinkFullScaleChecked() const override { return false; }
    std::int32_t Offset(int range) const override;
    void SetOffset(int, std::int32_t) override {}
    void SetDivider(int, std::int32_t) override {}

    // TDataLoggerView
    int DecimalDotIndex() const override;
    void SetLoggerTimerActive(bool active) override;
    void ShowLoggerStatus(const TLoggerStatusTexts& texts) override;
    void ShowLogInterval(std::uint16_t) override {}
    void ShowLogDate(const QDate&) override {}
    void LoggerStarted() override { LoggerStartDone = true; }

    // The session's replies go through here to the operations, so that the
    // raw status reply is kept beside its texts.
    void ReplyReceived(std::uint8_t messageId, const TFrameCodec& codec) override;

    TSessionProtocol& FSession;
    TUnitOperations FOperations;
    QTimer FRealTimer;
    QTimer FLoggerTimer;
    std::array<std::uint8_t, 20> FLastStatusReply{};
    bool FInStatusReply = false;
    bool FStatusShown = false;
};

} // namespace qzr::cli
