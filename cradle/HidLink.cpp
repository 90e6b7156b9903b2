#include "cradle/HidLink.h"

#include <utility>

namespace qzr {

THidLink::THidLink(TLinkEndpoint& endpoint, TReportSender sendReport)
    : FEndpoint(endpoint), FSendReport(std::move(sendReport))
{}

void THidLink::InputReport(const TCradleReport& data)
{
    const std::uint8_t status = data[0];
    CountEmptyFlag(status);
    TrackPresence(status);
    if (!FEndpoint.OnCradle())
        return;
    const int count = status & LinkByteCountMask;
    for (int i = 1; i <= count; ++i)
        FEndpoint.ReceiveLinkByte(data[i]);
    if (FXMitEmpty && FEndpoint.OutputPending())
        SendPendingBytes();
}

void THidLink::CountEmptyFlag(std::uint8_t status)
{
    if ((status & TransmitterEmptyBit) != 0 && FSeenEmpty < CounterLimit)
        ++FSeenEmpty;
    FXMitEmpty = FSeenEmpty > EmptyReportsBeforeOutput;
}

void THidLink::TrackPresence(std::uint8_t status)
{
    const bool unitReported = (status & UnitOnCradleBit) != 0;
    const bool onCradle = FEndpoint.OnCradle();
    if (unitReported != onCradle && FSeenOnOffCradle < CounterLimit)
        ++FSeenOnOffCradle;
    if (FSeenOnOffCradle <= PresenceDebounce)
        return;
    FEndpoint.SetOnCradle(!onCradle);
    FEndpoint.SessionEnds();
    if (onCradle)
        FEndpoint.UnitGone();
    else
        FEndpoint.UnitDetected();
    FSeenOnOffCradle = 0;
}

void THidLink::SendPendingBytes()
{
    FOutput[0] = 0;
    for (std::size_t j = 1; j < FOutput.size() && FEndpoint.OutputPending(); ++j) {
        FOutput[j] = FEndpoint.NextOutputByte();
        ++FOutput[0];
    }
    FXMitEmpty = false;
    FSeenEmpty = 0;
    FSendReport(FOutput);
}

} // namespace qzr
