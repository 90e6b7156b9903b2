#pragma once

#include <QString>
#include <QWidget>

class QLabel;

namespace qzr {

// The hidden window whose labels carry the message texts of the program. The
// translator translates the labels like those of any other window, so a text
// read at the moment of use is always in the current language. One instance,
// created by the main window and never shown.
class TTexts : public QWidget {
    Q_OBJECT

public:
    explicit TTexts(QWidget* parent = nullptr);
    ~TTexts() override;

    // The program-wide instance; nullptr while none exists.
    static TTexts* Instance();

    // The current text of each label.
    QString ThisWillEraseAreYouSure() const;
    QString ProgrammingFailedAtAddress() const;
    QString SendSettingsToDeviceNow() const;
    QString NothingConnected() const;
    QString Reading() const;
    QString ReadingInputs() const;
    QString SendingSetupInfo() const;
    QString RequestingNVMFlash() const;
    QString StartDatalogger() const;
    QString readingStoredDataFromLogger() const;
    QString readingMeasuredValuesFromLogger() const;

private:
    QLabel* AddLabel(const char* name, const QString& text);

    QLabel* FThisWillEraseAreYouSure;
    QLabel* FProgrammingFailedAtAddress;
    QLabel* FSendSettingsToDeviceNow;
    QLabel* FNothingConnected;
    QLabel* FReading;
    QLabel* FReadingInputs;
    QLabel* FSendingSetupInfo;
    QLabel* FRequestingNVMFlash;
    QLabel* FStartDatalogger;
    QLabel* FreadingStoredDataFromLogger;
    QLabel* FreadingMeasuredValuesFromLogger;
};

} // namespace qzr
