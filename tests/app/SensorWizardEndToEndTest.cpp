// The sensor wizard clicked in the real control window, end to end: the
// "User settings" dialog, the confirmation and the programming of the unit's
// user area, with the program and the in-process simulator on a virtual HID
// bus.
#include "ProgramRig.h"
#include "widgets/IntegerField.h"
#include "widgets/RadioGroup.h"

#include <catalogue/FloatField.h>
#include <catalogue/SensorSetup.h>
#include <catalogue/WizardForm.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>

#include <vector>

namespace qzr::test {
namespace {

constexpr std::uint32_t Serial = 0x00A1B2C3;
const QString SerialCaption = QStringLiteral("#00A1B2C3");
// Firmware that reads the fixed-point sensitivity.
constexpr std::uint8_t Firmware = 0x40;

TSensorRecord Sensor(qint32 id, const char* name, double fullScale, int decimals)
{
    TSensorRecord sensor;
    sensor.sensor_ID = id;
    sensor.sensor_name = QString::fromUtf8(name);
    sensor.sensor_caption = QStringLiteral("µV per unit");
    sensor.sensor_min = 0;
    sensor.sensor_max = 9000;
    sensor.sensor_FS = fullScale;
    sensor.sensor_DP = static_cast<qint16>(decimals);
    return sensor;
}

// The catalogue's rows, in this order.
enum TRow { UnitsSensor, CurrentLoop, LoadCell, WideRange };

class SensorWizardEndToEnd : public ProgramRig {
protected:
    // The program's window idle on a unit set up for sensor 30, whose own
    // bytes 52 to 63 are set; the catalogue holds that sensor and three more.
    TCradleForm* IdleWindow()
    {
        sim::UnitSpec unit = sim::UnitSpec::demo(Serial);
        unit.identity.firmwareVersion = Firmware;
        unitImage = *unit.setup;
        unitImage[SetupOffset::SensorId] = 30;
        for (std::size_t i = SetupOffset::Carried; i < SetupDataSize; ++i)
            unitImage[i] = static_cast<std::uint8_t>(0xC0 + i);
        unit.setup = unitImage;

        TSensorRecord currentLoop = Sensor(41, "Current loop 0-20 mA", 100, 1);
        currentLoop.sensor_currentoutput = true;
        currentLoop.sensor_resistor = 604;
        currentLoop.sensor_notnegative = true;
        personality->SensorTable.Load({Sensor(30, "Thermocouple K", 1000, 0), currentLoop,
                                       Sensor(52, "Load cell 500 kg", 500, 1),
                                       Sensor(60, "Pressure 50 bar", 50000, 1)});

        simulator->addHidCradle("cradle");
        simulator->placeUnit("cradle", unit);
        StartProgram();
        EXPECT_TRUE(WaitFor([] { return ShowsUnit(WindowOf(ifCypress), SerialCaption); }));
        TCradleForm* window = WindowOf(ifCypress);
        if (window != nullptr)
            window->show();
        return window;
    }

    TSetupData UnitImage(TNvmArea area) const
    {
        TSetupData image{};
        simulator->withUnit("cradle", [&](sim::Zt46Unit& unit) { image = unit.storedSetup(area); });
        return image;
    }

    TSetupData WorkingImage() const
    {
        TSetupData image{};
        simulator->withUnit("cradle", [&](sim::Zt46Unit& unit) { image = unit.workingSetup(); });
        return image;
    }

    // Opens the wizard with "&Select sensor", picks the catalogue's row and
    // types the sensitivity.
    static TWizardForm* OpenWizard(TCradleForm* window, TRow row, const char* sensitivity)
    {
        QTest::mouseClick(window->Controls.WizardBtn, Qt::LeftButton);
        auto* wizard = window->findChild<TWizardForm*>();
        if (wizard == nullptr || !wizard->isVisible())
            return nullptr;
        QTest::keyClick(wizard->DBLookupComboBox1, Qt::Key_Home);
        for (int i = 0; i < row; ++i)
            QTest::keyClick(wizard->DBLookupComboBox1, Qt::Key_Down);
        wizard->SensitivityField->setFocus();
        wizard->SensitivityField->selectAll();
        QTest::keyClicks(wizard->SensitivityField, QString::fromLatin1(sensitivity));
        return wizard;
    }

    // The window's message box that is open now, or null.
    static QMessageBox* OpenMessage(TCradleForm* window)
    {
        for (QMessageBox* box : window->findChildren<QMessageBox*>())
            if (box->isVisible())
                return box;
        return nullptr;
    }

    static void Answer(TCradleForm* window, QMessageBox::StandardButton button)
    {
        QMessageBox* question = OpenMessage(window);
        ASSERT_NE(question, nullptr);
        EXPECT_EQ(question->text(), "Send new sensor settings to the device now ?");
        QTest::mouseClick(question->button(button), Qt::LeftButton);
    }

    // The window shows the unit's sensor and sensitivity and sends nothing.
    void ExpectUnitsSensorAndNothingSent(TCradleForm* window, const TSetupData& before,
                                         std::uint32_t okCountBefore)
    {
        EXPECT_EQ(window->Connection.Session.SessionState, ssIdle);
        EXPECT_EQ(window->Connection.Session.okCount(), okCountBefore);
        EXPECT_EQ(window->Connection.Session.SetupData, before);
        EXPECT_EQ(WorkingImage(), unitImage);
        EXPECT_EQ(personality->SensorTable.Current().sensor_ID, 30);
        EXPECT_EQ(window->Controls.DBEdit1->text(), "Thermocouple K");
        EXPECT_EQ(window->Controls.SensitivityField->text(),
                  QString::number(unitImage.Sensitivity(), 'f', 2));
    }

    TSetupData unitImage{};
};

TEST_F(SensorWizardEndToEnd, ProgramsTheUserAreaWithTheCalculatedSettings)
{
    TCradleForm* window = IdleWindow();
    ASSERT_NE(window, nullptr);
    const TSetupData factory = UnitImage(nvmFactory);
    TSetupData expected = window->Connection.Session.SetupData;
    ApplySensorSetup(expected,
                     SensorSetupFor(personality->SensorTable.Record(CurrentLoop), 4.0f, Firmware));

    TWizardForm* wizard = OpenWizard(window, CurrentLoop, "4");
    ASSERT_NE(wizard, nullptr);
    QTest::mouseClick(wizard->OKBtn, Qt::LeftButton);
    Answer(window, QMessageBox::Yes);
    EXPECT_EQ(window->Connection.Session.SessionState, ssSendingSetup);

    ASSERT_TRUE(WaitFor([&] {
        return window->Connection.Session.SessionState == ssIdle && UnitImage(nvmUser) == expected;
    }));
    // a = 604 / 4 = 151 uV per digit, 15100 uV at full scale: 8x.
    EXPECT_EQ(expected.AmplifierIndex(), 3);
    EXPECT_EQ(expected.UserMultiplier(), 1000);
    EXPECT_EQ(expected.UserDivider(), 15100);
    EXPECT_EQ(expected.SensitivityDecimals(), 3);
    EXPECT_EQ(expected.SensitivityFixed(), 4000);
    EXPECT_TRUE(std::equal(expected.begin() + SetupOffset::Carried, expected.end(),
                           unitImage.begin() + SetupOffset::Carried));
    EXPECT_EQ(WorkingImage(), expected);
    EXPECT_EQ(UnitImage(nvmFactory), factory);
    EXPECT_EQ(window->Connection.Session.SetupData, expected);

    const TCradleFormControls& c = window->Controls;
    EXPECT_EQ(c.DBEdit1->text(), "Current loop 0-20 mA");
    EXPECT_EQ(c.SensitivityField->text(), "4.00");
    EXPECT_EQ(c.AdAmpSelectBox->ItemIndex(), 3);
    EXPECT_EQ(c.AdAmpSelectBox2->ItemIndex(), 3);
    EXPECT_EQ(c.UserMultiplier->Value(), 1000);
    EXPECT_EQ(c.UserDivider->Value(), 15100);
    EXPECT_EQ(c.DecDotSelectBox->ItemIndex(), 1);
    EXPECT_FALSE(c.NegativesAllowedCheckBox->isChecked());
    EXPECT_EQ(window->findChild<TWizardForm*>(), nullptr) << "the dialog is gone";
}

TEST_F(SensorWizardEndToEnd, CancelAndNoSendNothingAndShowTheUnitsSensorAgain)
{
    TCradleForm* window = IdleWindow();
    ASSERT_NE(window, nullptr);
    const TSetupData before = window->Connection.Session.SetupData;
    const std::uint32_t okCount = window->Connection.Session.okCount();

    for (const char* step : {"Cancel", "Escape", "No"}) {
        SCOPED_TRACE(step);
        TWizardForm* wizard = OpenWizard(window, LoadCell, "12.5");
        ASSERT_NE(wizard, nullptr);
        EXPECT_EQ(personality->SensorTable.Current().sensor_ID, 52);
        if (step == std::string("Cancel")) {
            QTest::mouseClick(wizard->CancelBtn, Qt::LeftButton);
        } else if (step == std::string("Escape")) {
            QTest::keyClick(wizard, Qt::Key_Escape);
        } else {
            QTest::mouseClick(wizard->OKBtn, Qt::LeftButton);
            // Behind the question the window already shows the unit's sensor.
            EXPECT_EQ(window->Controls.DBEdit1->text(), "Thermocouple K");
            Answer(window, QMessageBox::No);
        }
        EXPECT_EQ(OpenMessage(window), nullptr);
        ExpectUnitsSensorAndNothingSent(window, before, okCount);
        QCoreApplication::processEvents();
    }
}

TEST_F(SensorWizardEndToEnd, ACradleUnpluggedWhileTheDialogIsOpenTakesTheDialogWithItsWindow)
{
    TCradleForm* window = IdleWindow();
    ASSERT_NE(window, nullptr);
    const QPointer<TWizardForm> wizard = OpenWizard(window, LoadCell, "12.5");
    ASSERT_FALSE(wizard.isNull());
    const QPointer<TCradleForm> watched(window);

    simulator->unplug("cradle");
    ASSERT_TRUE(WaitFor([&] { return watched.isNull(); }));
    EXPECT_TRUE(wizard.isNull());
}

struct TRefusedCase {
    const char* What;
    TRow Row;
    const char* Sensitivity;
    const char* Message;
};

void PrintTo(const TRefusedCase& c, std::ostream* out)
{
    *out << c.What;
}

class SensorWizardRefused : public SensorWizardEndToEnd,
                            public testing::WithParamInterface<TRefusedCase> {};

TEST_P(SensorWizardRefused, ReportsTheValueAndTheSensorAndSendsNothing)
{
    const TRefusedCase& c = GetParam();
    TCradleForm* window = IdleWindow();
    ASSERT_NE(window, nullptr);
    const TSetupData before = window->Connection.Session.SetupData;
    const std::uint32_t okCount = window->Connection.Session.okCount();

    TWizardForm* wizard = OpenWizard(window, c.Row, c.Sensitivity);
    ASSERT_NE(wizard, nullptr);
    QTest::mouseClick(wizard->OKBtn, Qt::LeftButton);
    Answer(window, QMessageBox::Yes);

    QMessageBox* error = OpenMessage(window);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->icon(), QMessageBox::Critical);
    EXPECT_EQ(error->text(), QString::fromUtf8(c.Message));
    ExpectUnitsSensorAndNothingSent(window, before, okCount);
    QTest::mouseClick(error->button(QMessageBox::Ok), Qt::LeftButton);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, SensorWizardRefused,
    testing::Values(
        // 2.0 uV per digit, FS 50000 with one decimal: 500000 display digits.
        TRefusedCase{"multiplier 500000", WideRange, "2",
                     "Multiplier for sensor \"Pressure 50 bar\": 500000 is outside 0 to 32767"},
        TRefusedCase{"current output, sensitivity 0", CurrentLoop, "0",
                     "Sensor \"Current loop 0-20 mA\" has a current output, so its sensitivity "
                     "must not be 0"}));

} // namespace
} // namespace qzr::test
