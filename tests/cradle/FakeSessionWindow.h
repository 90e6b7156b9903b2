#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "cradle/SessionInterfaces.h"
#include "cradle/SessionProtocol.h"

namespace qzr::test {

// A control window reduced to what the session sees: it records the calls and
// models the two check boxes whose click handlers run when the enable rules
// uncheck them.
class TFakeSessionWindow : public TSessionWindow {
public:
    TSessionProtocol* session = nullptr;

    std::vector<std::string> calls;
    std::vector<TSessionState> captionStates; // SessionState at each SetCaption
    bool sessionTimerActive = false;
    bool unitIndicatorBright = false;
    int progress = -1;
    std::uint32_t okShown = 0;
    std::uint32_t errorsShown = 0;
    TSetupData shownSetup{};
    bool realtimeChecked = false;
    bool loggerStatusChecked = false;

    void SetAllowances() override
    {
        calls.push_back("SetAllowances");
        const bool busy = IsBusy(session->SessionState);
        const bool onCradle = session->OnCradle;
        if (realtimeChecked && !(onCradle && (!busy || session->SessionState == ssRealtime))) {
            realtimeChecked = false;
            CheckBoxCleared();
        }
        if (loggerStatusChecked &&
            !(onCradle && (!busy || session->SessionState == ssLoggerStatus))) {
            loggerStatusChecked = false;
            CheckBoxCleared();
        }
    }
    void SetCaption() override
    {
        calls.push_back("SetCaption");
        captionStates.push_back(session->SessionState);
    }
    void ShowUnitOnCradle(bool present) override { unitIndicatorBright = present; }
    void SetProgress(int percent) override { progress = percent; }
    void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) override
    {
        okShown = ok;
        errorsShown = errors;
    }
    void SetSessionTimerActive(bool active) override { sessionTimerActive = active; }
    void ClearSessionDisplays() override { calls.push_back("ClearSessionDisplays"); }
    void EndRealtimeDisplay() override
    {
        calls.push_back("EndRealtimeDisplay");
        if (realtimeChecked) {
            realtimeChecked = false;
            CheckBoxCleared();
        }
    }
    void SetupDataToControls() override
    {
        calls.push_back("SetupDataToControls");
        shownSetup = session->SetupData;
    }

private:
    // What the click handler of either box does when it finds its box
    // unchecked: its own timer and the session timer stop, the session goes
    // back to idle and the window is refreshed.
    void CheckBoxCleared()
    {
        calls.push_back("CheckBoxCleared");
        session->SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
        SetSessionTimerActive(false);
        session->SessionState = ssIdle;
        SetAllowances();
        SetCaption();
    }
};

// Session IDs counting up from `next`, so a test can choose where they start.
class TFakeSessionIds : public TSessionIdSource {
public:
    std::uint8_t next = 1;
    std::uint8_t NewSessionID() override { return next++; }
};

// Records the replies that reach the unit operations.
class TRecordingReplyHandler : public TUnitReplyHandler {
public:
    std::vector<std::uint8_t> ids;
    void ReplyReceived(std::uint8_t messageId, const TFrameCodec&) override
    {
        ids.push_back(messageId);
    }
};

} // namespace qzr::test
