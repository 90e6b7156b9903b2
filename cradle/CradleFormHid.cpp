#include "cradle/CradleForm.h"

#include <hid/EUSBException.h>

#include <limits>

namespace qzr {

void TCradleForm::ConnectHidPorts()
{
    HidDataPortIn.SetHidDevice(&HidDevice);
    HidDataPortIn.OnHidData = [this](QObject*) { HidDataPortInHidData(); };
    HidDataPortOut.SetHidDevice(&HidDevice);
    HidDataPortOut.SetAcceptUSBData(false);
}

void TCradleForm::HidDataPortInHidData()
{
    FHidLink.InputReport(HidDataPortIn.AsHidData());
}

void TCradleForm::ConnectHidCradle(int index)
{
    if (index < 0 || index > std::numeric_limits<std::uint16_t>::max())
        throw EUSBException(QStringLiteral("Device %1 is not available.").arg(index));
    SPITimer.stop();
    HidDevice.Connect(static_cast<std::uint16_t>(index));
}

void TCradleForm::DisconnectHidCradle()
{
    HidDevice.Disconnect();
}

bool TCradleForm::HidCradleConnected() const
{
    return HidDevice.Connected();
}

void TCradleForm::StopHidInput()
{
    HidDataPortIn.SetAcceptUSBData(false);
}

} // namespace qzr
