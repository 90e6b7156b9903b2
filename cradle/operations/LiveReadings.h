#pragma once

#include <cstdint>

#include "cradle/FrameCodec.h"
#include "cradle/SessionProtocol.h"

namespace qzr {

// The four readings of a 0x21 reply, each signed 16-bit.
struct TRealtimeReadings {
    std::int16_t RawInput = 0;
    std::int16_t RawBattery = 0;
    std::int16_t Calibrated = 0;
    std::int16_t UserAdjusted = 0;
};

// The calibration fields of the live panel as the readings see them: the
// selected range, the two "Link" check boxes and the offset and divider fields
// of each range. Values are wider than the fields: a link copy may put a value
// outside a field's range, which the next programming run reports.
class TCalibrationFieldsView {
public:
    virtual ~TCalibrationFieldsView() = default;
    // The selected amplifier range 0 (1x) to 5 (32x); -1 while none is.
    virtual int AmplifierIndex() const = 0;
    virtual bool LinkOffsetChecked() const = 0;
    virtual bool LinkFullScaleChecked() const = 0;
    virtual std::int32_t Offset(int range) const = 0;
    virtual void SetOffset(int range, std::int32_t value) = 0;
    virtual void SetDivider(int range, std::int32_t value) = 0;
};

// Where the live readings show and what drives them.
class TLiveReadingsView {
public:
    virtual ~TLiveReadingsView() = default;
    // Start or stop the 1 s realtime timer; its tick must call RealTimerTimer.
    virtual void SetRealtimeTimerActive(bool active) = 0;
    virtual void ShowReadings(const TRealtimeReadings& readings) = 0;
    // Empty the four reading texts.
    virtual void ClearReadings() = 0;
};

// The live readings of the "Show realtime" switch: one request 0x21 a second,
// replaced once by the single write of the amplifier selection after the
// range changed, and the two "Link" copies of the raw reading into the
// selected range's offset and divider.
class TLiveReadings {
public:
    static constexpr std::uint32_t RequestCount = 2;
    static constexpr std::uint32_t WriteCount = 6;

    TLiveReadings(TSessionProtocol& session, TLiveReadingsView& view,
                  TCalibrationFieldsView& fields);

    // The click of "Show realtime", `checked` its new state. Unchecked, it
    // stops the realtime timer and returns the session to idle when the live
    // readings were what it was doing; an operation that took over (and
    // unchecked the box through the enable rules) keeps its state and its
    // session timer.
    void ReadRealtimeActionExecute(bool checked);
    // The realtime timer's tick.
    void RealTimerTimer();
    // The amplifier selection changed (by the user or by the program): the
    // next tick writes it to the unit instead of asking for readings.
    void AmplifierSelectionChanged() { AdAmpSelectBoxWasClicked = true; }

    // Reply 0x21.
    void ReplyReceived(const TFrameCodec& codec);

    bool AdAmpSelectBoxWasClicked = false;

private:
    void SendAmplifierSelection(int index);

    TSessionProtocol& FSession;
    TLiveReadingsView& FView;
    TCalibrationFieldsView& FFields;
};

} // namespace qzr
