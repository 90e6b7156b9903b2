#pragma once

#include "FakeBridge.h"
#include "cradle/CradleForm.h"
#include "cradle/SessionIdCounter.h"

#include <QHash>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace qzr::test {

// The message texts in English, as the window reads them.
class TEnglishTexts : public TMessageTextSource {
public:
    QString MessageText(const QString& name) const override
    {
        static const QHash<QString, QString> texts = {
            {QStringLiteral("NothingConnected"), QStringLiteral("Nothing connected")},
            {QStringLiteral("Reading"), QStringLiteral("Reading")},
            {QStringLiteral("ReadingInputs"), QStringLiteral("Reading inputs")},
            {QStringLiteral("SendingSetupInfo"), QStringLiteral("Sending setup info")},
            {QStringLiteral("RequestingNVMFlash"), QStringLiteral("Requesting NVM flash")},
            {QStringLiteral("StartDatalogger"), QStringLiteral("Start datalogger")},
            {QStringLiteral("readingStoredDataFromLogger"),
             QStringLiteral("Reading stored data from logger")},
            {QStringLiteral("readingMeasuredValuesFromLogger"),
             QStringLiteral("Reading measured values from logger")},
            {QStringLiteral("ThisWillEraseAreYouSure"),
             QStringLiteral("This will erase the data, are you sure ?")},
            {QStringLiteral("ProgrammingFailedAtAddress"),
             QStringLiteral("Programming failed at address: ")},
            {QStringLiteral("SendSettingsToDeviceNow"),
             QStringLiteral("Send new sensor settings to the device now ?")},
        };
        return texts.value(name, QStringLiteral("?%1?").arg(name));
    }
};

// A catalogue of two sensors, 7 and 9.
class TTwoSensorCatalogue : public TSensorCatalogueView {
public:
    bool PositionOnSensor(int sensorId) override
    {
        if (sensorId != 7 && sensorId != 9)
            return false;
        current = sensorId;
        return true;
    }
    QString CurrentSensorName() const override { return QStringLiteral("Sensor %1").arg(current); }
    QString CurrentSensorCaption() const override { return QStringLiteral("mV/V"); }

    int current = 7;
};

// A sensor wizard without a dialog: it keeps the request of the last opening
// until the test closes it, with a choice or with Cancel.
class TScriptedSensorWizard : public TSensorWizard {
public:
    void OpenWizard(QWidget& owner, float sensitivity,
                    std::function<void(TSensorChoice)> closed) override
    {
        openedOver = &owner;
        openedWith = sensitivity;
        FClosed = std::move(closed);
    }

    void Close(TSensorChoice choice) { std::exchange(FClosed, {})(std::move(choice)); }
    bool IsOpen() const { return static_cast<bool>(FClosed); }

    QWidget* openedOver = nullptr;
    float openedWith = 0;

private:
    std::function<void(TSensorChoice)> FClosed;
};

// Records the images that the readouts of the windows hand on.
class TRecordingLogDataWindows : public TLogDataWindows {
public:
    void OpenLogDataWindow(const TLogData& data) override { opened.push_back(data); }

    std::vector<TLogData> opened;
};

// A control window on a scripted bridge, its placement kept in a temporary
// INI file.
class CradleFormFixture : public ::testing::Test {
protected:
    std::unique_ptr<TCradleForm> NewWindow()
    {
        return std::make_unique<TCradleForm>(TCradleFormEnvironment{
            sessionIds, bridge, texts, catalogue, wizard, logDataWindows, TCradleIdentifierSet{},
            QStringLiteral("ZT-46"), iniDir.filePath(QStringLiteral("QZR.INI"))});
    }

    // A window whose bridge cradle is connected.
    std::unique_ptr<TCradleForm> ConnectedWindow()
    {
        auto window = NewWindow();
        window->Connection.SetInterfaceChip(ifSorvik);
        window->Connection.Connect(1);
        EXPECT_TRUE(window->Connection.Connected());
        return window;
    }

    QTemporaryDir iniDir;
    TSessionIdCounter sessionIds;
    TFakeBridge bridge;
    TEnglishTexts texts;
    TTwoSensorCatalogue catalogue;
    TScriptedSensorWizard wizard;
    TRecordingLogDataWindows logDataWindows;
};

} // namespace qzr::test
