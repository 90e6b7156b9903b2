#include "cradle/CradleConnection.h"

#include <hid/EUSBException.h>

#include <QScopeGuard>

#include <limits>

namespace qzr {

TCradleConnection::TCradleConnection(TCradleDisplay& display, TSessionIdSource& sessionIds,
                                     TBridgeApi& bridge, const TCradleIdentifierSet& identifiers)
    : Session(Codec, *this, sessionIds),
      Operations(Session, display, *this, display, *this, display), FDisplay(display),
      FHidLink(*this,
               [this](const THidData& report) {
                   HidDataPortOut.SetAsHidData(report);
                   HidDataPortOut.SendData();
               }),
      FSpiLink(
          *this, bridge,
          [this](bool on) {
              if (on)
                  SPITimer.start();
              else
                  SPITimer.stop();
          },
          identifiers.VendorId, identifiers.BridgeProductId)
{
    FSpiLink.OnLinkLost = [this] { FDisplay.CradleLost(); };
    SetUpTimers();
    ConnectHidPorts();
    ProtocolTimer.start();
}

TCradleConnection::~TCradleConnection()
{
    Disconnect();
}

void TCradleConnection::SetUpTimers()
{
    ProtocolTimer.setInterval(ProtocolTimerInterval);
    SessionTimer.setInterval(SessionTimerInterval);
    // The next poll is due 10 ms after the previous one ended: a poll blocks
    // for its whole transfer, and the pause lets the other cradles' HID
    // reports through in between.
    SPITimer.setInterval(SPITimerInterval);
    SPITimer.setSingleShot(true);
    RealTimer.setInterval(OperationTimerInterval);
    LoggerTimer.setInterval(OperationTimerInterval);

    QObject::connect(&ProtocolTimer, &QTimer::timeout, [this] { ProtocolTimerTimer(); });
    QObject::connect(&SessionTimer, &QTimer::timeout, [this] { SessionTimerTimer(); });
    QObject::connect(&SPITimer, &QTimer::timeout, [this] { SPITimerTimer(); });
    QObject::connect(&RealTimer, &QTimer::timeout, [this] { RealTimerTimer(); });
    QObject::connect(&LoggerTimer, &QTimer::timeout, [this] { LoggerTimerTimer(); });
}

void TCradleConnection::ConnectHidPorts()
{
    HidDataPortIn.SetHidDevice(&HidDevice);
    HidDataPortIn.OnHidData = [this](QObject*) { HidDataPortInHidData(); };
    HidDataPortOut.SetHidDevice(&HidDevice);
    HidDataPortOut.SetAcceptUSBData(false);
}

void TCradleConnection::Connect(int index)
{
    switch (FInterfaceChip) {
    case ifCypress:
        ConnectHidCradle(index);
        break;
    case ifSorvik:
        FSpiLink.Connect();
        break;
    case ifUndefined:
        break;
    }
}

void TCradleConnection::ConnectHidCradle(int index)
{
    if (index < 0 || index > std::numeric_limits<std::uint16_t>::max())
        throw EUSBException(QStringLiteral("Device %1 is not available.").arg(index));
    SPITimer.stop();
    HidDevice.Connect(static_cast<std::uint16_t>(index));
}

void TCradleConnection::Disconnect()
{
    switch (FInterfaceChip) {
    case ifCypress:
        HidDevice.Disconnect();
        break;
    case ifSorvik:
        FSpiLink.Disconnect();
        break;
    case ifUndefined:
        break;
    }
}

bool TCradleConnection::Connected() const
{
    switch (FInterfaceChip) {
    case ifCypress:
        return HidDevice.Connected();
    case ifSorvik:
        return FSpiLink.Connected();
    case ifUndefined:
        break;
    }
    return false;
}

void TCradleConnection::StopHidInput()
{
    HidDataPortIn.SetAcceptUSBData(false);
}

void TCradleConnection::HidDataPortInHidData()
{
    FHidLink.InputReport(HidDataPortIn.AsHidData());
}

void TCradleConnection::ProtocolTimerTimer()
{
    Codec.ProtocolTimerTimer();
}

void TCradleConnection::SessionTimerTimer()
{
    Session.SessionTimerTimer();
}

void TCradleConnection::SPITimerTimer()
{
    // However the poll ends, the next one follows while the bridge is open.
    const auto next = qScopeGuard([this] {
        if (FSpiLink.Connected())
            SPITimer.start();
    });
    FSpiLink.Poll();
}

void TCradleConnection::RealTimerTimer()
{
    Operations.Readings.RealTimerTimer();
}

void TCradleConnection::LoggerTimerTimer()
{
    Operations.Logger.LoggerTimerTimer();
}

void TCradleConnection::SetRealtimeTimerActive(bool active)
{
    if (active)
        RealTimer.start();
    else
        RealTimer.stop();
}

void TCradleConnection::SetLoggerTimerActive(bool active)
{
    if (active)
        LoggerTimer.start();
    else
        LoggerTimer.stop();
}

void TCradleConnection::SetSessionTimerActive(bool active)
{
    if (active)
        SessionTimer.start();
    else
        SessionTimer.stop();
}

void TCradleConnection::EndRealtimeDisplay()
{
    FDisplay.EndRealtimeDisplay();
    RealTimer.stop();
}

} // namespace qzr
