#pragma once

#include <iosfwd>

#include "DemoClock.h"
#include "cradle/SessionInterfaces.h"
#include "cradle/SessionProtocol.h"

namespace qzr::demo {

// A control window reduced to a console: it prints what the session tells it.
class ConsoleSessionWindow : public TSessionWindow {
public:
    ConsoleSessionWindow(std::ostream& out, const DemoClock& clock);
    void attach(const TSessionProtocol& session) { FSession = &session; }

    bool sessionTimerActive() const { return FSessionTimerActive; }

    void SetAllowances() override;
    void SetCaption() override;
    void ShowUnitOnCradle(bool present) override;
    void SetProgress(int percent) override;
    void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) override;
    void SetSessionTimerActive(bool active) override;
    void ClearSessionDisplays() override;
    void EndRealtimeDisplay() override;
    void SetupDataToControls() override;

private:
    std::ostream& line();

    std::ostream& FOut;
    const DemoClock& FClock;
    const TSessionProtocol* FSession = nullptr;
    bool FSessionTimerActive = false;
};

const char* sessionStateName(std::int32_t state);

} // namespace qzr::demo
