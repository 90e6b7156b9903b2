#include "ConsoleSessionWindow.h"

#include <iomanip>
#include <ostream>

namespace qzr::demo {

const char* sessionStateName(std::int32_t state)
{
    static const char* const names[] = {
        "ssNone",     "ssHandshake",      "ssReadingSetup", "ssRealtime",     "ssSendingSetup",
        "ssFlashing", "ssStartingLogger", "ssReadingLog",   "ssLoggerStatus", "ssIdle"};
    return state >= ssNone && state <= ssIdle ? names[state] : "(unknown)";
}

ConsoleSessionWindow::ConsoleSessionWindow(std::ostream& out, const DemoClock& clock)
    : FOut(out), FClock(clock)
{}

std::ostream& ConsoleSessionWindow::line()
{
    return FOut << '[' << std::fixed << std::setprecision(3) << std::setw(7) << FClock.seconds()
                << " s] window: ";
}

void ConsoleSessionWindow::SetAllowances()
{
    const bool busy = IsBusy(FSession->SessionState);
    line() << "controls " << (FSession->OnCradle && !busy ? "enabled" : "disabled")
           << ", session indicator " << (busy ? "blue (busy)" : "navy") << '\n';
}

void ConsoleSessionWindow::SetCaption()
{
    line() << "caption for " << sessionStateName(FSession->SessionState) << ", serial #" << std::hex
           << std::uppercase << std::setw(8) << std::setfill('0') << FSession->SerialNumber
           << std::dec << std::setfill(' ') << '\n';
}

void ConsoleSessionWindow::ShowUnitOnCradle(bool present)
{
    line() << "on-cradle indicator " << (present ? "bright green" : "dark green") << '\n';
}

void ConsoleSessionWindow::SetProgress(int percent)
{
    line() << "progress " << percent << " %\n";
}

void ConsoleSessionWindow::ShowMessageCounts(std::uint32_t ok, std::uint32_t errors)
{
    line() << "messages OK " << ok << ", with errors " << errors << '\n';
}

void ConsoleSessionWindow::SetSessionTimerActive(bool active)
{
    if (active != FSessionTimerActive)
        line() << "session timer " << (active ? "on" : "off") << '\n';
    FSessionTimerActive = active;
}

void ConsoleSessionWindow::ClearSessionDisplays()
{
    line() << "realtime and logger texts emptied, log interval blank\n";
}

void ConsoleSessionWindow::EndRealtimeDisplay()
{
    line() << "Show realtime unchecked, realtime timer off\n";
}

void ConsoleSessionWindow::SetupDataToControls()
{
    line() << "setup image put into the controls\n";
}

} // namespace qzr::demo
