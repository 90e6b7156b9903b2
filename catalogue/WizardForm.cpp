#include "WizardForm.h"

#include "FloatField.h"
#include "SensitivityLimits.h"
#include "SensorListModel.h"
#include "SensorRecord.h"
#include "SensorTable.h"

#include <widgets/FormBuilding.h>

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace qzr {

TWizardForm::TWizardForm(TSensorTable& catalogue, QWidget* owner)
    : QDialog(owner), DBLookupComboBox1(Named(new QComboBox(this), "DBLookupComboBox1")),
      DBEdit1(Named(new QLineEdit(this), "DBEdit1")),
      SensitivityLabel(NamedLabel(this, "SensitivityLabel", QStringLiteral("Sensitivity"))),
      SensitivityField(Named(new TFloatField(4, 2, this), "SensitivityField")),
      DBText(NamedLabel(this, "DBText", QString())),
      OKBtn(Named(new QPushButton(QStringLiteral("&OK"), this), "OKBtn")),
      CancelBtn(Named(new QPushButton(QStringLiteral("&Cancel"), this), "CancelBtn")),
      FCatalogue(catalogue)
{
    setObjectName(QStringLiteral("WizardForm"));
    setWindowTitle(QStringLiteral("User settings"));
    KeepUntranslated(DBLookupComboBox1);
    KeepUntranslated(DBText);
    DBEdit1->setReadOnly(true);
    DBEdit1->setMaxLength(SensorNameSize);
    SensitivityLabel->setBuddy(SensitivityField);
    SensitivityField->SetRange(0, SensitivityField->PictureMaximum());
    OKBtn->setDefault(true);
    OKBtn->setEnabled(catalogue.RecordCount() > 0);
    BuildLayout();

    BindSensorComboBox(*DBLookupComboBox1, catalogue);
    connect(DBLookupComboBox1, &QComboBox::activated, this, &TWizardForm::SensorComboBoxClick);
    connect(&catalogue, &TSensorTable::CurrentChanged, this, &TWizardForm::ShowCurrentSensor);
    connect(SensitivityField, &TFloatField::RangeError, this, &TWizardForm::SensitivityFieldError);
    connect(OKBtn, &QPushButton::clicked, this, &TWizardForm::OKBtnClick);
    connect(CancelBtn, &QPushButton::clicked, this, &TWizardForm::reject);
    ShowCurrentSensor();
}

float TWizardForm::Sensitivity() const
{
    return SensitivityField->Value();
}

void TWizardForm::SetSensitivity(float sensitivity)
{
    SensitivityField->SetValue(sensitivity);
}

void TWizardForm::SensorComboBoxClick()
{
    const TSensorRecord& sensor = FCatalogue.Current();
    SetSensitivity(KeptWithinSensorLimits(Sensitivity(), sensor));
    const TSensitivityRange range = AcceptedSensitivityRange(sensor);
    SensitivityField->SetRange(range.Lowest, range.Highest);
}

void TWizardForm::SensitivityFieldError()
{
    SetSensitivity(KeptWithinSensorLimits(Sensitivity(), FCatalogue.Current()));
}

void TWizardForm::BuildLayout()
{
    SensitivityField->setFixedWidth(72);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setVerticalSpacing(4);
    layout->addWidget(DBLookupComboBox1, 0, 0, 1, 3);
    layout->addWidget(DBEdit1, 1, 0, 1, 3);
    layout->addWidget(SensitivityLabel, 2, 0);
    layout->addWidget(SensitivityField, 2, 1);
    layout->addWidget(DBText, 2, 2);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(3, 1);
    layout->addLayout(buttons, 4, 0, 1, 3);
    resize(ClientWidth, ClientHeight);
}

void TWizardForm::ShowCurrentSensor()
{
    const TSensorRecord& sensor = FCatalogue.Current();
    DBEdit1->setText(sensor.sensor_name);
    DBText->setText(sensor.sensor_caption);
}

// An entry outside the field's range is corrected to the sensor's limits
// first, as leaving the field does.
void TWizardForm::OKBtnClick()
{
    SensitivityField->CheckEntry();
    accept();
}

} // namespace qzr
