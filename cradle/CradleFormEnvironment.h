#pragma once

#include "cradle/CradleIdentifierSet.h"
#include "cradle/SensorWizard.h"

#include <protocol/LogData.h>

#include <QString>

namespace qzr {

class TBridgeApi;
class TSessionIdSource;

// The translatable message texts a control window reads at the moment of use,
// by the name of the text (NothingConnected, Reading...).
class TMessageTextSource {
public:
    virtual ~TMessageTextSource() = default;
    virtual QString MessageText(const QString& name) const = 0;
};

// The program-wide sensor catalogue as a control window uses it: one current
// record shared by every window.
class TSensorCatalogueView {
public:
    virtual ~TSensorCatalogueView() = default;
    // Makes the sensor with this ID current; false (and no change) when the
    // catalogue has no such sensor.
    virtual bool PositionOnSensor(int sensorId) = 0;
    virtual QString CurrentSensorName() const = 0;
    virtual QString CurrentSensorCaption() const = 0;
};

// Where the data read from a unit's logger is shown.
class TLogDataWindows {
public:
    virtual ~TLogDataWindows() = default;
    // Opens a new window on the image: the program creates and owns it (it
    // outlives the control window), translates it, gives it a copy of the
    // image (SetData) and shows it without waiting for it. Throws with a
    // message for the user when the window cannot be opened.
    virtual void OpenLogDataWindow(const TLogData& data) = 0;
};

// What a control window needs from the program around it.
struct TCradleFormEnvironment {
    TSessionIdSource& SessionIds;
    TBridgeApi& Bridge;
    const TMessageTextSource& Texts;
    TSensorCatalogueView& Catalogue;
    TSensorWizard& Wizard;
    TLogDataWindows& LogDataWindows;
    TCradleIdentifierSet Identifiers;
    // Caption of a window whose cradle is not connected.
    QString ProductName;
    // The INI file that keeps the window's placement.
    QString IniFile;
};

} // namespace qzr
