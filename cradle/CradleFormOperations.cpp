// The control window's side of the unit operations: its controls as the
// operations' views, and the click handlers that start them.
#include "cradle/CradleForm.h"

#include "cradle/operations/RangeError.h"
#include "widgets/IntegerField.h"
#include "widgets/MessageDialogs.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QTimeEdit>

#include <algorithm>
#include <exception>
#include <limits>

namespace qzr {

namespace {

// A field's value as the operations take it: wider than any field, so that
// a value outside a field's range is reported rather than cut.
std::int32_t FieldValue(const TIntegerField& field)
{
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(field.Value(), std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

} // namespace

void TCradleForm::ReadRealtimeActionExecute()
{
    Connection.Operations.Readings.ReadRealtimeActionExecute(
        Controls.RealtimeCheckBox->isChecked());
}

void TCradleForm::ReadLoggerValuesCheckboxClick()
{
    Connection.Operations.Logger.ReadLoggerValuesCheckboxClick(
        Controls.ReadLoggerValuesCheckbox->isChecked());
}

void TCradleForm::ProgramBtnClick(const QObject* sender)
{
    const TNvmArea area = sender == Controls.ProgramUserBtn ? nvmUser : nvmFactory;
    try {
        Connection.Operations.Programming.ProgramBtnClick(area, SetupControls());
    } catch (const ERangeError& error) {
        ShowErrorMessage(*this, QString::fromStdString(error.what()));
    }
}

void TCradleForm::StartLoggerBtnClick()
{
    AskYesNo(*this, MessageText("ThisWillEraseAreYouSure"), [this] {
        // The unit may have left, or another operation begun, while the
        // question was open.
        if (!Controls.StartLoggerBtn->isEnabled())
            return;
        try {
            Connection.Operations.Logger.StartLoggerBtnClick(QDateTime::currentDateTime(),
                                                             LoggerStartFields());
        } catch (const ERangeError& error) {
            ShowErrorMessage(*this, QString::fromStdString(error.what()));
        }
    });
}

void TCradleForm::ReadLoggerBtnClick()
{
    Connection.Operations.Readout.ReadLoggerBtnClick();
}

TSetupControls TCradleForm::SetupControls() const
{
    TSetupControls values;
    for (std::size_t range = 0; range < values.Offset.size(); ++range) {
        values.Offset[range] = FieldValue(*Controls.AdAmpOffset[range]);
        values.Multiplier[range] = FieldValue(*Controls.AdAmpMultiplier[range]);
        values.Divider[range] = FieldValue(*Controls.AdAmpDivider[range]);
    }
    values.AmplifierIndex = Controls.AdAmpSelectBox->ItemIndex();
    values.UserMultiplier = FieldValue(*Controls.UserMultiplier);
    values.UserDivider = FieldValue(*Controls.UserDivider);
    values.DecimalDotIndex = Controls.DecDotSelectBox->ItemIndex();
    values.NegativesAllowed = Controls.NegativesAllowedCheckBox->isChecked();
    return values;
}

TLoggerStartFields TCradleForm::LoggerStartFields() const
{
    const std::int64_t interval = Controls.LogIntervalEdit->Value();
    return {Controls.LogDateEdit->date(), Controls.LogTimeEdit->time(),
            static_cast<std::uint32_t>(
                std::clamp<std::int64_t>(interval, 0, std::numeric_limits<std::uint32_t>::max()))};
}

void TCradleForm::ShowReadings(const TRealtimeReadings& readings)
{
    Controls.AD1Text->setText(QString::number(readings.RawInput));
    Controls.AD2Text->setText(QString::number(readings.RawBattery));
    Controls.V1Text->setText(QString::number(readings.Calibrated));
    Controls.User1Text->setText(QString::number(readings.UserAdjusted));
}

void TCradleForm::ClearReadings()
{
    for (QLabel* reading :
         {Controls.AD1Text, Controls.AD2Text, Controls.V1Text, Controls.User1Text})
        reading->clear();
}

int TCradleForm::AmplifierIndex() const
{
    return Controls.AdAmpSelectBox->ItemIndex();
}

bool TCradleForm::LinkOffsetChecked() const
{
    return Controls.LinkOffsetToRealtimeCheckBox->isChecked();
}

bool TCradleForm::LinkFullScaleChecked() const
{
    return Controls.LinkFullScaleToRealtimeCheckBox->isChecked();
}

std::int32_t TCradleForm::Offset(int range) const
{
    return FieldValue(*Controls.AdAmpOffset.at(static_cast<std::size_t>(range)));
}

void TCradleForm::SetOffset(int range, std::int32_t value)
{
    Controls.AdAmpOffset.at(static_cast<std::size_t>(range))->SetValue(value);
}

void TCradleForm::SetDivider(int range, std::int32_t value)
{
    Controls.AdAmpDivider.at(static_cast<std::size_t>(range))->SetValue(value);
}

int TCradleForm::DecimalDotIndex() const
{
    return Controls.DecDotSelectBox->ItemIndex();
}

void TCradleForm::ShowLoggerStatus(const TLoggerStatusTexts& texts)
{
    Controls.LoggerStatusStaticText->setText(texts.Status);
    Controls.MinimumStaticText->setText(texts.Minimum);
    Controls.MaximumStaticText->setText(texts.Maximum);
    Controls.IntegralStaticText->setText(texts.Integral);
    Controls.RemainingIntervalStaticText->setText(texts.RemainingInterval);
}

void TCradleForm::ShowLogInterval(std::uint16_t seconds)
{
    Controls.LogIntervalEdit->SetValue(seconds);
}

void TCradleForm::ShowLogDate(const QDate& date)
{
    Controls.LogDateEdit->setDate(date);
}

void TCradleForm::ProgrammingFailed(std::uint16_t address)
{
    ShowErrorMessage(*this, MessageText("ProgrammingFailedAtAddress") +
                                QString::fromStdString(SetupAddressText(address)));
}

void TCradleForm::ReadoutComplete(const TLogData& image)
{
    try {
        FEnvironment.LogDataWindows.OpenLogDataWindow(image);
    } catch (const std::exception& error) {
        ShowErrorMessage(*this, QString::fromStdString(error.what()));
    }
}

} // namespace qzr
