#include "cradle/operations/LiveReadings.h"

#include "protocol/AmplifierRanges.h"
#include "protocol/LittleEndian.h"

namespace qzr {

namespace {

constexpr std::uint32_t RawInputAt = 2;
constexpr std::uint32_t RawBatteryAt = 4;
constexpr std::uint32_t CalibratedAt = 6;
constexpr std::uint32_t UserAdjustedAt = 8;

constexpr bool IsRange(int index)
{
    return index >= 0 && index < AmplifierRangeCount;
}

} // namespace

TLiveReadings::TLiveReadings(TSessionProtocol& session, TLiveReadingsView& view,
                             TCalibrationFieldsView& fields)
    : FSession(session), FView(view), FFields(fields)
{}

void TLiveReadings::ReadRealtimeActionExecute(bool checked)
{
    FView.ClearReadings();
    if (checked) {
        FSession.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
        FSession.SetSessionTimerActive(true);
        FSession.SetSessionState(ssRealtime);
        FView.SetRealtimeTimerActive(true);
        return;
    }
    FView.SetRealtimeTimerActive(false);
    if (FSession.SessionState != ssRealtime)
        return;
    FSession.SessionTimeout = TSessionProtocol::RequestTimeoutTicks;
    FSession.SetSessionTimerActive(false);
    FSession.SetSessionState(ssIdle);
}

void TLiveReadings::RealTimerTimer()
{
    const int index = FFields.AmplifierIndex();
    if (AdAmpSelectBoxWasClicked && IsRange(index)) {
        AdAmpSelectBoxWasClicked = false;
        SendAmplifierSelection(index);
        return;
    }
    FSession.SendMessage(TSessionProtocol::Message(msgRealtime, {FSession.SessionID}),
                         RequestCount);
}

void TLiveReadings::SendAmplifierSelection(int index)
{
    FSession.MultiMode = false;
    TSetupData& image = FSession.SetupData;
    image.SetAmplifierIndex(index);
    const auto at = static_cast<std::uint16_t>(SetupOffset::AmplifierSelection);
    FSession.SendMessage(
        TSessionProtocol::Message(msgWriteSetup,
                                  {FSession.SessionID, static_cast<std::uint8_t>(at),
                                   static_cast<std::uint8_t>(at >> 8), image[at], image[at + 1u]}),
        WriteCount);
}

void TLiveReadings::ReplyReceived(const TFrameCodec& codec)
{
    const std::uint8_t* message = codec.InputData.data();
    FView.ShowReadings({ReadS16(message + RawInputAt), ReadS16(message + RawBatteryAt),
                        ReadS16(message + CalibratedAt), ReadS16(message + UserAdjustedAt)});
    const int range = FFields.AmplifierIndex();
    if (!IsRange(range))
        return;
    const std::int32_t raw = ReadU16(message + RawInputAt);
    if (FFields.LinkOffsetChecked())
        FFields.SetOffset(range, raw);
    if (FFields.LinkFullScaleChecked())
        FFields.SetDivider(range, raw - FFields.Offset(range));
}

} // namespace qzr
