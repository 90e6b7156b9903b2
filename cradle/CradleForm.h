#pragma once

#include "cradle/CradleConnection.h"
#include "cradle/CradleDisplay.h"
#include "cradle/CradleFormControls.h"
#include "cradle/CradleFormEnvironment.h"

#include <QWidget>

#include <cstdint>

namespace qzr {

// The control window of one cradle: it owns the cradle's connection (link,
// frame codec, session with the unit, timers) and shows the unit's settings,
// live readings and logger on three sheets. Its caption, indicators and
// enabled controls follow the session state (SetAllowances, SetCaption).
class TCradleForm : public QWidget, public TCradleDisplay {
    Q_OBJECT
public:
    // Client area of the window.
    static constexpr int ClientWidth = 569;
    static constexpr int ClientHeight = 274;

    explicit TCradleForm(TCradleFormEnvironment environment);
    ~TCradleForm() override;

    // Window placement: restored from the INI file, else centred on `anchor`.
    void RestorePlacement(const QWidget* anchor);
    // Back to the window's outline size, or as near as the sheets and panels
    // still shown allow, once the personality has hidden some of them.
    void FitToShownSheets();

    // TCradleDisplay
    void SetAllowances() override;
    void SetCaption() override;
    void ShowUnitOnCradle(bool present) override;
    void SetProgress(int percent) override;
    void ShowMessageCounts(std::uint32_t ok, std::uint32_t errors) override;
    void ClearSessionDisplays() override;
    void EndRealtimeDisplay() override;
    void SetupDataToControls() override;
    void CradleLost() override;

    // Click handlers of the two check boxes that switch an operation.
    void ReadRealtimeActionExecute();
    void ReadLoggerValuesCheckboxClick();

    TCradleConnection Connection;
    TCradleFormControls Controls;

    // Shows the catalogue's current sensor in the sensor fields.
    void ShowCurrentSensor();

signals:
    // The cradle was lost without a device change being reported (a bridge
    // whose transfer failed); the window is no longer connected.
    void CradleWasLost();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildWindow();
    void ConnectHandlers();
    void SavePlacement() const;
    QString MessageText(const char* name) const;

    TCradleFormEnvironment FEnvironment;
};

} // namespace qzr
