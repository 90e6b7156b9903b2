#pragma once

#include "app/CatalogueSensorWizard.h"
#include "app/ProgramAdapters.h"
#include "cradle/CradleFormEnvironment.h"
#include "cradle/CradleIdentifierSet.h"
#include "cradle/SessionInterfaces.h"

#include <logdata/ChartFormEnvironment.h>

#include <hid/HidDevices.h>

#include <QMainWindow>
#include <QSet>
#include <QString>

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>

class QAction;
class QComboBox;
class QLabel;

namespace qzr {

class HidPlatform;
class TBridgeApi;
class TCradleForm;
class TPersonalityData;
class TTexts;
class TTranslator;

// What the main window needs from the program around it.
struct TMainFormEnvironment {
    TPersonalityData& PersonalityData;
    TTranslator& Translator;
    TBridgeApi& Bridge;
    TCradleIdentifierSet Identifiers;
    // "QZR.INI": the language and the control windows' placement.
    QString IniFile;
    // The HID devices; empty: the system's, or the virtual bus VHID_BUS names.
    std::shared_ptr<HidPlatform> Devices;
    // Shows an error of a device-change scan; empty: an error message box.
    std::function<void(const QString&)> ShowError;
};

// The program's main window: toolbar, language selector and hint panel, and
// the HID device list whose changes open a control window for every new
// cradle and free the windows of cradles that are gone. It also hands out
// the program-wide session IDs.
class TMainForm : public QMainWindow, public TSessionIdSource, public TLogDataWindows {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 456;
    static constexpr int ClientHeight = 45;

    explicit TMainForm(TMainFormEnvironment environment);
    ~TMainForm() override;

    // 1, 2, ..., 255, 0, 1, ... for all control windows together.
    std::uint8_t NewSessionID() override;
    // A chart window of its own, owned by the application, on logged data
    // (a readout's or a file's).
    void OpenLogDataWindow(const TLogData& data) override;

    // The device-change scan: a window for every new cradle, then the
    // windows of lost cradles freed. Errors other than those of single HID
    // devices leave the scan and are thrown.
    void CradlesDeviceChange();

    // The control windows that exist now.
    static QList<TCradleForm*> CradleForms();

    // Opens a logged-data file in a new chart window of its own; an error is
    // shown with its message and opens nothing.
    void FileOpenAccept(const QString& fileName);
    // What a chart window needs: the catalogue's sensor units, the
    // translator's texts.
    TChartFormEnvironment ChartFormEnvironment() const;

    THidDevices Cradles;
    QAction* FileOpen = nullptr;
    QAction* HelpAboutAction = nullptr;
    QAction* FileExitAction = nullptr;
    QComboBox* OvcLanguageSelector = nullptr;
    QLabel* HintPanel = nullptr;

    // The longest the bridges' polls wait for the main window's first paint.
    static constexpr int FirstPollDeadline = 1000;

protected:
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void CreateActions();
    void FormCreate();
    void UpdateAllowances();
    void OvcLanguageSelectorChange(int index);
    void HelpAboutActionExecute();
    void FileOpenExecute();
    // The scan as the device list runs it: its errors are shown, not thrown.
    void ScanAfterDeviceChange();
    bool OpenNewCradles();
    void ForgetFailuresOfGoneCradles();
    void ReportFailedCradle(const QString& devicePath, const std::exception& error);
    bool CloseLostCradles();
    void FreeLostCradles();
    void OpenCradleWindow(std::uint16_t deviceNr, bool hidCradle);
    void ShowCurrentSensorEverywhere();
    static void StepAside(TCradleForm& window);
    void ReleaseBridgePolls();

    TMainFormEnvironment FEnvironment;
    std::unique_ptr<TTexts> FTexts;
    std::unique_ptr<TTextsMessageSource> FMessageTexts;
    TSensorTableView FSensorView;
    TCatalogueSensorWizard FSensorWizard;
    std::uint8_t LatestSessionID = 0;
    // The device paths of cradles whose opening failed and was reported.
    QSet<QString> FFailedCradles;
    // The language selector's place on the toolbar, which shows or hides it.
    QAction* FLanguageSelectorItem = nullptr;
    // Set from the start-up scan until the first paint (or the deadline).
    bool FBridgePollsHeld = false;
};

} // namespace qzr
