#include "cradle/CradleForm.h"

#include "cradle/LogIntervalPresets.h"
#include "cradle/SessionColors.h"
#include "widgets/Indicator.h"
#include "widgets/IntegerField.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace qzr {

namespace {

const QString PlacementSection = QStringLiteral("TCradleForm");

// The first control window is "CradleForm", the others "CradleForm_1",
// "CradleForm_2"...: the translator keys them all by the part before "_".
QString NextWindowName()
{
    static int created = 0;
    const int number = created++;
    return number == 0 ? QStringLiteral("CradleForm") : QStringLiteral("CradleForm_%1").arg(number);
}

} // namespace

TCradleForm::TCradleForm(TCradleFormEnvironment environment)
    : QWidget(nullptr, Qt::Window),
      Connection(*this, environment.SessionIds, environment.Bridge, environment.Identifiers),
      FEnvironment(std::move(environment))
{
    BuildWindow();
    ConnectHandlers();
    SetAllowances();
}

TCradleForm::~TCradleForm()
{
    Connection.Disconnect();
}

void TCradleForm::BuildWindow()
{
    setObjectName(NextWindowName());
    setProperty("tag", 999);
    setWindowTitle(QStringLiteral("Control Interface"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Controls.PageControl = new QTabWidget(this);
    Controls.PageControl->setObjectName(QStringLiteral("PageControl"));
    Controls.PageControl->addTab(CreateSensorSettingsSheet(Controls.PageControl, Controls),
                                 QStringLiteral("Sensor settings"));
    Controls.PageControl->addTab(CreateCalibrationsSheet(Controls.PageControl, Controls),
                                 QStringLiteral("Calibrations"));
    Controls.PageControl->addTab(CreateDataloggerSheet(Controls.PageControl, Controls),
                                 QStringLiteral("Datalogger"));
    layout->addWidget(Controls.PageControl, 1);
    layout->addWidget(CreateCradleStatusBar(this, Controls));
    resize(ClientWidth, ClientHeight);
}

void TCradleForm::ConnectHandlers()
{
    // A check box changed by the program runs its handler as a user's click does.
    connect(Controls.RealtimeCheckBox, &QCheckBox::toggled, this,
            &TCradleForm::ReadRealtimeActionExecute);
    connect(Controls.ReadLoggerValuesCheckbox, &QCheckBox::toggled, this,
            &TCradleForm::ReadLoggerValuesCheckboxClick);

    // The two amplifier selectors mirror each other; a changed range waits
    // for the next realtime tick to be sent.
    connect(Controls.AdAmpSelectBox, &TRadioGroup::Click, this, [this] {
        Connection.Operations.Readings.AmplifierSelectionChanged();
        Controls.AdAmpSelectBox2->SetItemIndex(Controls.AdAmpSelectBox->ItemIndex());
    });
    connect(Controls.AdAmpSelectBox2, &TRadioGroup::Click, this, [this] {
        Controls.AdAmpSelectBox->SetItemIndex(Controls.AdAmpSelectBox2->ItemIndex());
        Connection.Operations.Readings.AmplifierSelectionChanged();
    });

    for (QPushButton* button : {Controls.ProgramFactoryBtn, Controls.ProgramUserBtn})
        connect(button, &QPushButton::clicked, this, [this, button] { ProgramBtnClick(button); });
    connect(Controls.StartLoggerBtn, &QPushButton::clicked, this,
            &TCradleForm::StartLoggerBtnClick);
    connect(Controls.ReadLoggerBtn, &QPushButton::clicked, this, &TCradleForm::ReadLoggerBtnClick);
    connect(Controls.WizardBtn, &QPushButton::clicked, this, &TCradleForm::WizardBtnClick);

    connect(Controls.LogIntervalPresetBox, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < static_cast<int>(LogIntervalPresets.size()))
            Controls.LogIntervalEdit->SetValue(LogIntervalPresets[index].seconds);
        Controls.LogIntervalPresetBox->setCurrentIndex(-1);
    });
}

void TCradleForm::closeEvent(QCloseEvent* event)
{
    // A window holding its cradle ignores the close box.
    if (Connection.Connected()) {
        event->ignore();
        return;
    }
    Connection.StopHidInput();
    Connection.Disconnect();
    SavePlacement();
    event->accept();
}

void TCradleForm::FitToShownSheets()
{
    // The sheets learn that a part of them was hidden through posted layout
    // requests; take them first, so the size left over is known.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    resize(ClientWidth, ClientHeight);
}

void TCradleForm::RestorePlacement(const QWidget* anchor)
{
    QSettings settings(FEnvironment.IniFile, QSettings::IniFormat);
    settings.beginGroup(PlacementSection);
    if (settings.contains(QStringLiteral("Left")) && settings.contains(QStringLiteral("Top"))) {
        move(settings.value(QStringLiteral("Left")).toInt(),
             settings.value(QStringLiteral("Top")).toInt());
        if (settings.value(QStringLiteral("Maximized")).toBool())
            setWindowState(windowState() | Qt::WindowMaximized);
        return;
    }
    if (anchor != nullptr) {
        QRect frame = frameGeometry();
        frame.moveCenter(anchor->frameGeometry().center());
        move(frame.topLeft());
    }
}

void TCradleForm::SavePlacement() const
{
    QSettings settings(FEnvironment.IniFile, QSettings::IniFormat);
    settings.beginGroup(PlacementSection);
    settings.setValue(QStringLiteral("Left"), pos().x());
    settings.setValue(QStringLiteral("Top"), pos().y());
    settings.setValue(QStringLiteral("Maximized"), isMaximized());
}

void TCradleForm::ShowUnitOnCradle(bool present)
{
    Controls.OnCradleIndicator->SetColor(present ? UnitDetectedColor : UnitGoneColor);
}

void TCradleForm::SetProgress(int percent)
{
    Controls.ProgressBar->setValue(std::clamp(percent, 0, 100));
}

void TCradleForm::ShowMessageCounts(std::uint32_t ok, std::uint32_t errors)
{
    // Whole numbers in full: a label's number formatting would turn a million
    // into "1e+06".
    Controls.OkCounter->setText(QString::number(ok));
    Controls.ErrorCounter->setText(QString::number(errors));
}

void TCradleForm::ClearSessionDisplays()
{
    for (QLabel* text : {Controls.AD1Text, Controls.AD2Text, Controls.V1Text, Controls.User1Text,
                         Controls.MinimumStaticText, Controls.MaximumStaticText,
                         Controls.IntegralStaticText, Controls.RemainingIntervalStaticText})
        text->clear();
    Controls.LoggerStatusStaticText->setText(QStringLiteral("--"));
    Controls.LogIntervalPresetBox->setCurrentIndex(-1);
    Controls.LogIntervalEdit->clear();
    Controls.LogIntervalEdit->repaint();
}

void TCradleForm::EndRealtimeDisplay()
{
    Controls.RealtimeCheckBox->setChecked(false);
}

void TCradleForm::CradleLost()
{
    emit CradleWasLost();
}

void TCradleForm::SetupDataToControls()
{
    const TSetupData& image = Connection.Session.SetupData;
    for (std::size_t range = 0; range < Controls.AdAmpOffset.size(); ++range) {
        const int index = static_cast<int>(range);
        Controls.AdAmpOffset[range]->SetValue(image.AmpOffset(index));
        Controls.AdAmpMultiplier[range]->SetValue(image.AmpMultiplier(index));
        Controls.AdAmpDivider[range]->SetValue(image.AmpDivider(index));
    }
    UserSettingsToControls(image);
    ShowUnitSensor();
}

void TCradleForm::UserSettingsToControls(const TSetupData& image)
{
    const int lastRange = Controls.AdAmpSelectBox->ItemCount() - 1;
    Controls.AdAmpSelectBox->SetItemIndex(std::min(image.AmplifierIndex(), lastRange));
    Controls.UserMultiplier->SetValue(image.UserMultiplier());
    Controls.UserDivider->SetValue(image.UserDivider());
    Controls.DecDotSelectBox->SetItemIndex(image.Decimals());
    Controls.NegativesAllowedCheckBox->setChecked(image.NegativesAllowed());
}

void TCradleForm::ShowUnitSensor()
{
    const TSetupData& image = Connection.Session.SetupData;
    FEnvironment.Catalogue.PositionOnSensor(image.SensorId());
    ShowCurrentSensor();
    Controls.SensitivityField->setText(QString::number(image.Sensitivity(), 'f', 2));
}

void TCradleForm::ShowCurrentSensor()
{
    Controls.DBEdit1->setText(FEnvironment.Catalogue.CurrentSensorName());
    Controls.DBText->setText(FEnvironment.Catalogue.CurrentSensorCaption());
}

QString TCradleForm::MessageText(const char* name) const
{
    return FEnvironment.Texts.MessageText(QString::fromLatin1(name));
}

} // namespace qzr
