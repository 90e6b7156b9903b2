#include "cradle/AmplifierRanges.h"
#include "cradle/CradleFormControls.h"
#include "widgets/FormBuilding.h"
#include "widgets/IntegerField.h"
#include "widgets/RadioGroup.h"
#include <widgets/Hint.h>

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace qzr {

namespace {

// The sensor's name, read from the catalogue, across the whole sheet so that it
// shows in full beside the advanced panel too.
QLineEdit* CreateSensorNameField(QWidget* sheet, TCradleFormControls& c)
{
    c.DBEdit1 = Named(new QLineEdit(sheet), "DBEdit1");
    c.DBEdit1->setReadOnly(true);
    c.DBEdit1->setMaxLength(32);
    return c.DBEdit1;
}

QWidget* CreateSensorColumn(QWidget* sheet, TCradleFormControls& c)
{
    auto* column = new QWidget(sheet);
    auto* layout = new QGridLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);

    c.DBText = NamedLabel(column, "DBText", QString());
    KeepUntranslated(c.DBText);
    c.SensitivityField = Named(new QLineEdit(column), "SensitivityField");
    c.SensitivityField->setReadOnly(true);
    c.SensitivityField->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    c.SensitivityField->setFixedWidth(72);
    c.WizardBtn = Named(new QPushButton(QStringLiteral("&Select sensor"), column), "WizardBtn");
    SetHint(*c.WizardBtn, QStringLiteral("Setup|User settings wizard"));

    layout->addWidget(
        BuddyLabel(column, "SensitivityLabel", QStringLiteral("Se&nsitivity"), c.SensitivityField),
        0, 0, 1, 2);
    layout->addWidget(c.SensitivityField, 1, 0);
    layout->addWidget(c.DBText, 1, 1);
    layout->addWidget(c.WizardBtn, 2, 0, 1, 2, Qt::AlignLeft);
    layout->setRowStretch(3, 1);
    return column;
}

QFrame* CreateAdvancedPanel(QWidget* sheet, TCradleFormControls& c)
{
    auto* panel = Named(new QFrame(sheet), "AdvancedSensorSettingsPanel");
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(6, 4, 6, 4);
    layout->setVerticalSpacing(3);

    c.AdAmpSelectBox2 = Named(
        new TRadioGroup(QStringLiteral("Input amplifier"), AmplifierItemsWithCounts(), 1, panel),
        "AdAmpSelectBox2");
    SetHint(*c.AdAmpSelectBox2, QStringLiteral("Amp|Input amplifier setting"));

    c.UserMultiplier = Named(new TIntegerField(0, 32767, panel), "UserMultiplier");
    c.UserDivider = Named(new TIntegerField(0, 32767, panel), "UserDivider");
    c.UserMultiplier->setFixedWidth(56);
    c.UserDivider->setFixedWidth(56);

    c.DecDotSelectBox = Named(new TRadioGroup(QStringLiteral("Decimal dot position"),
                                              {QStringLiteral("8888"), QStringLiteral("888.8"),
                                               QStringLiteral("88.88"), QStringLiteral("8.888")},
                                              2, panel),
                              "DecDotSelectBox");
    SetHint(*c.DecDotSelectBox,
            QStringLiteral("Dec. dot|The position of the decimal dot on the display"));

    auto* negatives =
        Named(new QGroupBox(QStringLiteral("Negative values"), panel), "NegativeValuesGroup");
    auto* negativesLayout = new QHBoxLayout(negatives);
    negativesLayout->setContentsMargins(6, 0, 6, 2);
    c.NegativesAllowedCheckBox =
        Named(new QCheckBox(QStringLiteral("Allowed"), negatives), "NegativesAllowedCheckBox");
    negativesLayout->addWidget(c.NegativesAllowedCheckBox);

    c.ProgramUserBtn = Named(new QPushButton(QStringLiteral("&Program"), panel), "ProgramUserBtn");
    SetHint(*c.ProgramUserBtn,
            QStringLiteral("Send|Send the settings to the unit and store in nvm"));

    auto* scaling = new QGridLayout;
    scaling->addWidget(
        BuddyLabel(panel, "UserMultiplierLabel", QStringLiteral("&Multiplier"), c.UserMultiplier),
        0, 0);
    scaling->addWidget(c.UserMultiplier, 0, 1);
    scaling->addWidget(
        BuddyLabel(panel, "UserDividerLabel", QStringLiteral("&Divider"), c.UserDivider), 1, 0);
    scaling->addWidget(c.UserDivider, 1, 1);

    layout->addWidget(c.AdAmpSelectBox2, 0, 0, 4, 1);
    layout->addLayout(scaling, 0, 1);
    layout->addWidget(c.DecDotSelectBox, 1, 1);
    layout->addWidget(negatives, 2, 1);
    layout->addWidget(c.ProgramUserBtn, 3, 1, Qt::AlignRight | Qt::AlignBottom);
    return panel;
}

} // namespace

QWidget* CreateSensorSettingsSheet(QWidget* parent, TCradleFormControls& c)
{
    auto* sheet = Named(new QWidget(parent), "SensorSettingsSheet");
    auto* layout = new QVBoxLayout(sheet);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(CreateSensorNameField(sheet, c));
    auto* columns = new QHBoxLayout;
    columns->addWidget(CreateSensorColumn(sheet, c), 1);
    c.AdvancedSensorSettingsPanel = CreateAdvancedPanel(sheet, c);
    columns->addWidget(c.AdvancedSensorSettingsPanel);
    layout->addLayout(columns, 1);
    c.SensorSettingsSheet = sheet;
    return sheet;
}

} // namespace qzr
