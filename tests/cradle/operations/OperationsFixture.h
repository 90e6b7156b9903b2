#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "cradle/FrameCodec.h"
#include "cradle/SessionIdCounter.h"
#include "cradle/SessionProtocol.h"
#include "cradle/operations/ControlsToSetupData.h"
#include "cradle/operations/UnitOperations.h"
#include "sim/unit/UnitFrameReceiver.h"
#include "sim/unit/Zt46Unit.h"

namespace qzr::test {

// A control window reduced to values: the calibration fields, the two
// amplifier-independent check boxes with their click handlers, and records
// of everything the operations report.
class TOperationsWindow : public TSessionWindow,
                          public TSetupProgrammingReport,
                          public TLiveReadingsView,
                          public TCalibrationFieldsView,
                          public TDataLoggerView,
                          public TLogReadoutReport {
public:
    TSessionProtocol* session = nullptr;
    TUnitOperations* operations = nullptr;

    // Controls.
    TSetupControls controls;
    bool realtimeChecked = false;
    bool loggerStatusChecked = false;
    bool linkOffset = false;
    bool linkFullScale = false;
    int decimalDotIndex = 0;

    // Timers.
    bool sessionTimerActive = false;
    bool realtimeTimerActive = false;
    bool loggerTimerActive = false;

    // Reports.
    std::vector<int> progress;
    std::optional<std::uint16_t> failedAddress;
    std::vector<TNvmArea> stored;
    std::vector<TRealtimeReadings> readings;
    int readingsCleared = 0;
    std::vector<TLoggerStatusTexts> statusTexts;
    std::optional<std::uint16_t> intervalShown;
    std::optional<QDate> dateShown;
    int loggerStarted = 0;
    std::vector<TLogData> completedImages;

    // TSessionWindow: the enable rules of the two check boxes, whose click
    // handlers run when the rules uncheck them.
    void SetAllowances() override
    {
        const bool busy = IsBusy(session->SessionState);
        const bool onCradle = session->OnCradle;
        if (realtimeChecked && !(onCradle && (!busy || session->SessionState == ssRealtime)))
            ClickRealtime(false);
        if (loggerStatusChecked &&
            !(onCradle && (!busy || session->SessionState == ssLoggerStatus)))
            ClickLoggerStatus(false);
        if (!realtimeChecked) {
            linkOffset = false;
            linkFullScale = false;
        }
    }
    void SetCaption() override {}
    void ShowUnitOnCradle(bool) override {}
    void SetProgress(int percent) override { progress.push_back(percent); }
    void ShowMessageCounts(std::uint32_t, std::uint32_t) override {}
    void SetSessionTimerActive(bool active) override { sessionTimerActive = active; }
    void ClearSessionDisplays() override {}
    void EndRealtimeDisplay() override
    {
        if (realtimeChecked)
            ClickRealtime(false);
        realtimeTimerActive = false;
    }
    void SetupDataToControls() override
    {
        const int shown = controls.AmplifierIndex;
        controls = SetupControlsShowing(session->SetupData);
        if (controls.AmplifierIndex != shown)
            operations->Readings.AmplifierSelectionChanged();
    }

    void ClickRealtime(bool checked)
    {
        realtimeChecked = checked;
        operations->Readings.ReadRealtimeActionExecute(checked);
    }
    void ClickLoggerStatus(bool checked)
    {
        loggerStatusChecked = checked;
        operations->Logger.ReadLoggerValuesCheckboxClick(checked);
    }
    void SelectAmplifier(int index)
    {
        if (index == controls.AmplifierIndex)
            return;
        controls.AmplifierIndex = index;
        operations->Readings.AmplifierSelectionChanged();
    }

    // TSetupProgrammingReport (SetProgress shared)
    void ProgrammingFailed(std::uint16_t address) override { failedAddress = address; }
    void ProgrammingStored(TNvmArea area) override { stored.push_back(area); }

    // TLiveReadingsView
    void SetRealtimeTimerActive(bool active) override { realtimeTimerActive = active; }
    void ShowReadings(const TRealtimeReadings& shown) override { readings.push_back(shown); }
    void ClearReadings() override { ++readingsCleared; }

    // TCalibrationFieldsView
    int AmplifierIndex() const override { return controls.AmplifierIndex; }
    bool LinkOffsetChecked() const override { return linkOffset; }
    bool LinkFullScaleChecked() const override { return linkFullScale; }
    std::int32_t Offset(int range) const override { return controls.Offset[range]; }
    void SetOffset(int range, std::int32_t value) override { controls.Offset[range] = value; }
    void SetDivider(int range, std::int32_t value) override { controls.Divider[range] = value; }

    // TDataLoggerView
    int DecimalDotIndex() const override { return decimalDotIndex; }
    void SetLoggerTimerActive(bool active) override { loggerTimerActive = active; }
    void ShowLoggerStatus(const TLoggerStatusTexts& texts) override
    {
        statusTexts.push_back(texts);
    }
    void ShowLogInterval(std::uint16_t seconds) override { intervalShown = seconds; }
    void ShowLogDate(const QDate& date) override { dateShown = date; }
    void LoggerStarted() override { ++loggerStarted; }

    // TLogReadoutReport (SetProgress shared)
    void ReadoutComplete(const TLogData& image) override { completedImages.push_back(image); }
};

// The real session core and unit operations against the unit model, joined
// by an in-memory byte pipe; every message the program sends is recorded.
class OperationsFixture : public testing::Test {
protected:
    OperationsFixture()
    {
        window.session = &session;
        window.operations = &operations;
    }

    // Moves bytes both ways until neither side has anything to send.
    void exchange()
    {
        while (codec.OutputPending() || unit.hasOutput()) {
            while (codec.OutputPending()) {
                const std::uint8_t b = codec.NextOutputByte();
                unit.receiveByte(b);
                if (sniffer.receiveByte(b) == sim::UnitFrameReceiver::Result::Accepted)
                    sent.emplace_back(sniffer.message().begin(), sniffer.message().end());
            }
            while (unit.hasOutput())
                session.ReceiveLinkByte(unit.takeOutputByte());
        }
    }

    // Detection, handshake and setup read, ending in ssIdle.
    void openSession()
    {
        session.OnCradle = true;
        session.UnitDetected();
        exchange();
        ASSERT_EQ(session.SessionState, ssIdle);
        sent.clear();
    }

    // Ticks of the session timer, while it is on.
    void sessionTicks(int count)
    {
        for (int i = 0; i < count && window.sessionTimerActive; ++i) {
            session.SessionTimerTimer();
            exchange();
        }
    }

    // The IDs of the messages sent since the last clear.
    std::vector<std::uint8_t> sentIds() const
    {
        std::vector<std::uint8_t> ids;
        for (const auto& message : sent)
            ids.push_back(message.at(0));
        return ids;
    }

    TFrameCodec codec;
    TOperationsWindow window;
    TSessionIdCounter sessionIds;
    TSessionProtocol session{codec, window, sessionIds};
    TUnitOperations operations{session, window, window, window, window, window};
    sim::Zt46Unit unit{{0x00A1B2C3, 1, 0x14, 0}};
    sim::UnitFrameReceiver sniffer;
    std::vector<std::vector<std::uint8_t>> sent;
};

} // namespace qzr::test
