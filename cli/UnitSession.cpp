#include "cli/UnitSession.h"

#include "cli/CliError.h"
#include "cli/CradleSelection.h"
#include "cli/HeldBridges.h"

namespace qzr::cli {

namespace {

THidDevices& Enumerated(THidDevices& devices)
{
    devices.UpdateDeviceList();
    return devices;
}

} // namespace

TUnitSession::TUnitSession(const TCliContext& context)
    : FCradle(Enumerated(FDevices), FBridge, context.Ids, FSessionIds)
{
    const QList<TCradleEntry> cradles = ScanCradles(FDevices, context.Ids);
    const TCradleEntry cradle =
        SelectCradle(cradles, context.Line.Global.Device,
                     HeldBridgesRemark(HeldBridgeCount(cradles, context.Ids)));
    FCradle.Connect(cradle);
    FCradle.HoldSession(SessionDeadline);
}

void TUnitSession::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds deadline)
{
    bool ended = false;
    const bool finished = FCradle.RunUntil(
        [&] {
            ended = Session().SessionState == ssNone || Session().SessionState == ssHandshake;
            return ended || done();
        },
        deadline);
    if (!FCradle.Connected())
        throw NoCradleError(QStringLiteral("the cradle is gone"));
    if (FCradle.UnitLeft())
        throw NoCradleError(QStringLiteral("the unit left the cradle"));
    if (ended)
        throw OperationFailed(QStringLiteral("the session was rejected"));
    if (!finished)
        throw OperationFailed(QStringLiteral("the unit did not answer in time"));
}

} // namespace qzr::cli
