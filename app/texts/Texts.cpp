#include "Texts.h"

#include <QLabel>
#include <QVBoxLayout>

namespace qzr {
namespace {
TTexts* instance = nullptr;
} // namespace

TTexts::TTexts(QWidget* parent)
    : QWidget(parent), FThisWillEraseAreYouSure(AddLabel(
                           "ThisWillEraseAreYouSure", "This will erase the data, are you sure ?")),
      FProgrammingFailedAtAddress(
          AddLabel("ProgrammingFailedAtAddress", "Programming failed at address: ")),
      FSendSettingsToDeviceNow(
          AddLabel("SendSettingsToDeviceNow", "Send new sensor settings to the device now ?")),
      FNothingConnected(AddLabel("NothingConnected", "Nothing connected")),
      FReading(AddLabel("Reading", "Reading")),
      FReadingInputs(AddLabel("ReadingInputs", "Reading inputs")),
      FSendingSetupInfo(AddLabel("SendingSetupInfo", "Sending setup info")),
      FRequestingNVMFlash(AddLabel("RequestingNVMFlash", "Requesting NVM flash")),
      FStartDatalogger(AddLabel("StartDatalogger", "Start datalogger")),
      FreadingStoredDataFromLogger(
          AddLabel("readingStoredDataFromLogger", "Reading stored data from logger")),
      FreadingMeasuredValuesFromLogger(
          AddLabel("readingMeasuredValuesFromLogger", "Reading measured values from logger"))
{
    setObjectName("Texts");
    setWindowTitle("Texts");
    if (!instance)
        instance = this;
}

TTexts::~TTexts()
{
    if (instance == this)
        instance = nullptr;
}

TTexts* TTexts::Instance()
{
    return instance;
}

QLabel* TTexts::AddLabel(const char* name, const QString& text)
{
    if (!layout())
        new QVBoxLayout(this);
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    layout()->addWidget(label);
    return label;
}

QString TTexts::ThisWillEraseAreYouSure() const
{
    return FThisWillEraseAreYouSure->text();
}

QString TTexts::ProgrammingFailedAtAddress() const
{
    return FProgrammingFailedAtAddress->text();
}

QString TTexts::SendSettingsToDeviceNow() const
{
    return FSendSettingsToDeviceNow->text();
}

QString TTexts::NothingConnected() const
{
    return FNothingConnected->text();
}

QString TTexts::Reading() const
{
    return FReading->text();
}

QString TTexts::ReadingInputs() const
{
    return FReadingInputs->text();
}

QString TTexts::SendingSetupInfo() const
{
    return FSendingSetupInfo->text();
}

QString TTexts::RequestingNVMFlash() const
{
    return FRequestingNVMFlash->text();
}

QString TTexts::StartDatalogger() const
{
    return FStartDatalogger->text();
}

QString TTexts::readingStoredDataFromLogger() const
{
    return FreadingStoredDataFromLogger->text();
}

QString TTexts::readingMeasuredValuesFromLogger() const
{
    return FreadingMeasuredValuesFromLogger->text();
}

} // namespace qzr
