// Console run of one complete session between the program's session core and
// the simulated ZT-46 unit: detection, identification, session ID, setup image
// read. The two are joined by an in-memory serial link; time is simulated, so
// the timers run by calling their tick handlers.
//
//   qzr-session-demo            a clean session
//   qzr-session-demo --faulty   the unit corrupts its first setup reply once,
//                               which the program answers with a resend
#include <QLoggingCategory>
#include <QString>

#include <cstring>
#include <iomanip>
#include <iostream>

#include "ConsoleSessionWindow.h"
#include "DemoClock.h"
#include "SetupImageReport.h"
#include "cradle/FrameCodec.h"
#include "cradle/SessionIdCounter.h"
#include "cradle/SessionProtocol.h"
#include "sim/unit/Zt46Unit.h"

namespace {

using namespace std::chrono_literals;
using qzr::demo::DemoClock;

constexpr auto Step = 10ms;
constexpr auto ProtocolTimerInterval = 50ms;
constexpr auto SessionTimerInterval = 100ms;
constexpr auto GiveUpAfter = 30s;
// Bytes the serial link between cradle and unit moves per step and direction
// (about 9600 baud).
constexpr int BytesPerStep = 10;

const DemoClock* traceClock = nullptr;

void printTrace(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    std::cout << '[' << std::fixed << std::setprecision(3) << std::setw(7) << traceClock->seconds()
              << " s] " << (context.category ? context.category : "") << ": " << text.toStdString()
              << '\n';
}

} // namespace

int main(int argc, char** argv)
{
    const bool faulty = argc > 1 && std::strcmp(argv[1], "--faulty") == 0;

    DemoClock clock;
    traceClock = &clock;
    qInstallMessageHandler(&printTrace);
    QLoggingCategory::setFilterRules(QStringLiteral("qzr.link.debug=true\nqzr.session.debug=true"));

    qzr::TFrameCodec codec;
    qzr::demo::ConsoleSessionWindow window(std::cout, clock);
    qzr::TSessionIdCounter sessionIds;
    qzr::TSessionProtocol session(codec, window, sessionIds);
    window.attach(session);

    sim::Zt46Unit unit({0x12AB34CD, 2, 0x15, 0x0310});

    std::cout << "ZT-46 session demo: the program's session core and a simulated unit "
                 "(serial 12AB34CD) on an in-memory link\n\n";

    session.OnCradle = true;
    session.UnitDetected();

    bool faultInjected = false;
    while (clock.now < GiveUpAfter) {
        if (faulty && !faultInjected && session.SessionState == qzr::ssReadingSetup) {
            unit.corruptNextChecksums(1);
            faultInjected = true;
        }
        clock.now += Step;
        unit.advanceTime(Step);
        for (int i = 0; i < BytesPerStep && codec.OutputPending(); ++i)
            unit.receiveByte(codec.NextOutputByte());
        for (int i = 0; i < BytesPerStep && unit.hasOutput(); ++i)
            session.ReceiveLinkByte(unit.takeOutputByte());
        if (clock.now % ProtocolTimerInterval == 0ms)
            codec.ProtocolTimerTimer();
        if (clock.now % SessionTimerInterval == 0ms && window.sessionTimerActive())
            session.SessionTimerTimer();
        if (session.SessionState == qzr::ssIdle && !codec.OutputPending() && !unit.hasOutput())
            break;
    }
    qInstallMessageHandler(nullptr);

    std::cout << "\nSession state " << qzr::demo::sessionStateName(session.SessionState)
              << " after " << clock.seconds() << " s; session ID "
              << static_cast<unsigned>(session.SessionID) << ", serial #" << std::hex
              << std::uppercase << std::setw(8) << std::setfill('0') << session.SerialNumber
              << ", protocol version " << static_cast<unsigned>(session.ProtocolVersion)
              << ", firmware version " << std::setw(2)
              << static_cast<unsigned>(session.FirmwareVersion) << ", configuration code "
              << std::setw(4) << session.ConfigCode << std::dec << std::setfill(' ')
              << "; messages OK " << session.okCount() << ", with errors " << session.errorCount()
              << "\n\n";
    qzr::demo::printSetupImage(std::cout, session.SetupData);
    return session.SessionState == qzr::ssIdle ? 0 : 1;
}
