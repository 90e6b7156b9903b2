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
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace qzr {

namespace {

constexpr std::array<const char*, 6> Gains = {"1", "2", "4", "8", "16", "32"};
constexpr std::array<const char*, 6> ColumnCaptions = {"1x", "2x", " 4x", " 8x", "16x", "32x"};

// A field of the grid, announced by its row and column ("Offset 1x").
TIntegerField* CalibrationField(QWidget* parent, std::size_t range, const char* kind, int minimum)
{
    auto* field = new TIntegerField(minimum, 32767, parent);
    field->setObjectName(
        QStringLiteral("AdAmp%1%2").arg(QLatin1String(Gains[range]), QLatin1String(kind)));
    field->setAccessibleName(
        QStringLiteral("%1 %2x").arg(QLatin1String(kind), QLatin1String(Gains[range])));
    field->setFixedWidth(42);
    return field;
}

// The keyboard goes through the grid row by row, as it reads, each row's
// "Link" box after its last field.
void SetGridTabOrder(TCradleFormControls& c)
{
    QWidget* previous = nullptr;
    const auto next = [&previous](QWidget* control) {
        if (previous != nullptr)
            QWidget::setTabOrder(previous, control);
        previous = control;
    };
    for (TIntegerField* field : c.AdAmpMultiplier)
        next(field);
    for (TIntegerField* field : c.AdAmpDivider)
        next(field);
    next(c.LinkFullScaleToRealtimeCheckBox);
    for (TIntegerField* field : c.AdAmpOffset)
        next(field);
    next(c.LinkOffsetToRealtimeCheckBox);
}

QWidget* CreateCalibrationGrid(QWidget* sheet, TCradleFormControls& c)
{
    auto* grid = new QWidget(sheet);
    auto* layout = new QGridLayout(grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(2);
    layout->setVerticalSpacing(3);

    for (std::size_t i = 0; i < Gains.size(); ++i) {
        auto* caption = new QLabel(QString::fromLatin1(ColumnCaptions[i]), grid);
        caption->setObjectName(QStringLiteral("AdAmp%1Label").arg(QLatin1String(Gains[i])));
        caption->setAlignment(Qt::AlignCenter);
        const int column = static_cast<int>(i) + 1;
        layout->addWidget(caption, 0, column);
        c.AdAmpMultiplier[i] = CalibrationField(grid, i, "Multiplier", 0);
        c.AdAmpDivider[i] = CalibrationField(grid, i, "Divider", 0);
        c.AdAmpOffset[i] = CalibrationField(grid, i, "Offset", -32768);
        layout->addWidget(c.AdAmpMultiplier[i], 1, column);
        layout->addWidget(c.AdAmpDivider[i], 2, column);
        layout->addWidget(c.AdAmpOffset[i], 3, column);
    }
    layout->addWidget(NamedLabel(grid, "MultiplierRowLabel", QStringLiteral("Multiplier")), 1, 0);
    layout->addWidget(NamedLabel(grid, "DividerRowLabel", QStringLiteral("Divider")), 2, 0);
    layout->addWidget(NamedLabel(grid, "OffsetRowLabel", QStringLiteral("Offset")), 3, 0);

    c.LinkFullScaleToRealtimeCheckBox =
        Named(new QCheckBox(QStringLiteral("Link"), grid), "LinkFullScaleToRealtimeCheckBox");
    SetHint(*c.LinkFullScaleToRealtimeCheckBox,
            QStringLiteral(
                "Link to realtime|Use the raw counts to fill in the calibration division factors"));
    c.LinkOffsetToRealtimeCheckBox =
        Named(new QCheckBox(QStringLiteral("Link"), grid), "LinkOffsetToRealtimeCheckBox");
    SetHint(*c.LinkOffsetToRealtimeCheckBox,
            QStringLiteral("Link to realtime|Use the raw counts to fill in the offset"));
    layout->addWidget(c.LinkFullScaleToRealtimeCheckBox, 2, 7);
    layout->addWidget(c.LinkOffsetToRealtimeCheckBox, 3, 7);
    SetGridTabOrder(c);
    return grid;
}

QWidget* CreateRealtimePanel(QWidget* sheet, TCradleFormControls& c)
{
    auto* panel =
        Named(new QGroupBox(QStringLiteral("Calibrate the offset first"), sheet), "RealtimePanel");
    SetHint(*panel, QStringLiteral("measured values|The actual realtime values"));
    auto* layout = new QGridLayout(panel);
    layout->setContentsMargins(6, 2, 6, 4);
    layout->setVerticalSpacing(2);

    c.RealtimeCheckBox =
        Named(new QCheckBox(QStringLiteral("Show realtime"), panel), "RealtimeCheckBox");
    SetHint(*c.RealtimeCheckBox, QStringLiteral("Show realtime|Get and show the measured values"));
    c.AD1Text = NamedStaticText(panel, "AD1Text");
    c.AD2Text = NamedStaticText(panel, "AD2Text");
    c.V1Text = NamedStaticText(panel, "V1Text");
    c.User1Text = NamedStaticText(panel, "User1Text");

    layout->addWidget(c.RealtimeCheckBox, 0, 0, 1, 4);
    layout->addWidget(NamedLabel(panel, "AD1Label", QStringLiteral("Vin (raw)")), 1, 0);
    layout->addWidget(c.AD1Text, 1, 1);
    layout->addWidget(NamedLabel(panel, "AD2Label", QStringLiteral("Vbatt (raw)")), 1, 2);
    layout->addWidget(c.AD2Text, 1, 3);
    layout->addWidget(NamedLabel(panel, "V1Label", QStringLiteral("Vin (calibrated)")), 2, 0);
    layout->addWidget(c.V1Text, 2, 1);
    layout->addWidget(NamedLabel(panel, "User1Label", QStringLiteral("Input (user adjusted)")), 2,
                      2);
    layout->addWidget(c.User1Text, 2, 3);
    return panel;
}

QWidget* CreateRangeColumn(QWidget* sheet, TCradleFormControls& c)
{
    auto* column = new QWidget(sheet);
    auto* layout = new QVBoxLayout(column);
    layout->setContentsMargins(0, 0, 0, 0);
    c.AdAmpSelectBox =
        Named(new TRadioGroup(QStringLiteral("Input amplifier"), AmplifierItems(), 1, column),
              "AdAmpSelectBox");
    SetHint(*c.AdAmpSelectBox, QStringLiteral("Amp|Input amplifier setting"));

    auto* firmware = new QHBoxLayout;
    firmware->addWidget(
        NamedLabel(column, "FirmwareVersionCaption", QStringLiteral("Firmware version:")));
    c.FirmwareVersionLabel = NamedLabel(column, "FirmwareVersionLabel", QStringLiteral("??"));
    KeepUntranslated(c.FirmwareVersionLabel);
    firmware->addWidget(c.FirmwareVersionLabel, 1);

    c.ProgramFactoryBtn =
        Named(new QPushButton(QStringLiteral("&Program"), column), "ProgramFactoryBtn");
    SetHint(*c.ProgramFactoryBtn,
            QStringLiteral("Send|Send the settings to the unit and store in nvm"));

    layout->addWidget(c.AdAmpSelectBox);
    layout->addLayout(firmware);
    layout->addStretch(1);
    layout->addWidget(c.ProgramFactoryBtn, 0, Qt::AlignRight);
    return column;
}

} // namespace

QWidget* CreateCalibrationsSheet(QWidget* parent, TCradleFormControls& c)
{
    auto* sheet = Named(new QWidget(parent), "CalibrationsSheet");
    auto* layout = new QHBoxLayout(sheet);
    layout->setContentsMargins(6, 6, 6, 6);
    auto* left = new QVBoxLayout;
    left->addWidget(CreateCalibrationGrid(sheet, c));
    left->addWidget(CreateRealtimePanel(sheet, c));
    left->addStretch(1);
    layout->addLayout(left, 1);
    layout->addWidget(CreateRangeColumn(sheet, c));

    // These controls keep their English texts: the translator leaves them alone.
    for (QWidget* control : sheet->findChildren<QWidget*>())
        KeepUntranslated(control);
    c.CalibrationsSheet = sheet;
    return sheet;
}

} // namespace qzr
