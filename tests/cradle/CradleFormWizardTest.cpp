// The control window's side of the sensor wizard, with a scripted dialog: what
// the dialog opens on, when a confirmed choice is programmed, and what stays
// when it is not.
#include "CradleFormFixture.h"
#include "widgets/IntegerField.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace qzr::test {
namespace {

class CradleFormWizardTest : public CradleFormFixture {
protected:
    // A shown window on a unit set up for sensor 9 with sensitivity 2.5.
    std::unique_ptr<TCradleForm> WindowOnUnit()
    {
        auto window = NewWindow();
        TSetupData& image = window->Connection.Session.SetupData;
        image[SetupOffset::SensorId] = 9;
        image.SetSensitivity(2.5f);
        window->Connection.Session.OnCradle = true;
        window->Connection.Session.SetSessionState(ssIdle);
        window->show();
        return window;
    }

    // A choice that sets the user multiplier and the sensor ID, and counts
    // how often it was applied.
    TSensorChoice Choice()
    {
        return [this](TSetupData& image, int firmwareVersion) {
            ++choiceApplied;
            appliedForFirmware = firmwareVersion;
            image.SetS16(SetupOffset::UserMultiplier, 1234);
            image[SetupOffset::SensorId] = 7;
        };
    }

    static QMessageBox* OpenMessage(const TCradleForm& window)
    {
        for (QMessageBox* box : window.findChildren<QMessageBox*>())
            if (box->isVisible())
                return box;
        return nullptr;
    }

    static void Answer(const TCradleForm& window, QMessageBox::StandardButton button)
    {
        QMessageBox* question = OpenMessage(window);
        ASSERT_NE(question, nullptr);
        ASSERT_EQ(question->text(), "Send new sensor settings to the device now ?");
        QTest::mouseClick(question->button(button), Qt::LeftButton);
    }

    int choiceApplied = 0;
    int appliedForFirmware = -1;
};

TEST_F(CradleFormWizardTest, OpensOverTheWindowOnTheUnitsSensorAndSensitivity)
{
    auto window = WindowOnUnit();
    catalogue.current = 7;
    QTest::mouseClick(window->Controls.WizardBtn, Qt::LeftButton);
    ASSERT_TRUE(wizard.IsOpen());
    EXPECT_EQ(wizard.openedOver, window.get());
    EXPECT_EQ(wizard.openedWith, 2.5f);
    EXPECT_EQ(catalogue.current, 9);

    // The user picked sensor 7 in the dialog and cancelled.
    catalogue.current = 7;
    wizard.Close({});
    EXPECT_EQ(OpenMessage(*window), nullptr);
    EXPECT_EQ(catalogue.current, 9);
    EXPECT_EQ(window->Controls.DBEdit1->text(), "Sensor 9");
    EXPECT_EQ(window->Controls.SensitivityField->text(), "2.50");
}

TEST_F(CradleFormWizardTest, YesDuringLiveReadingsProgramsTheChosenSensorIntoTheUserArea)
{
    auto window = WindowOnUnit();
    window->Connection.Session.FirmwareVersion = 0x41;
    window->Controls.RealtimeCheckBox->setChecked(true);
    ASSERT_EQ(window->Connection.Session.SessionState, ssRealtime);

    QTest::mouseClick(window->Controls.WizardBtn, Qt::LeftButton);
    wizard.Close(Choice());
    Answer(*window, QMessageBox::Yes);

    EXPECT_EQ(choiceApplied, 1);
    EXPECT_EQ(appliedForFirmware, 0x41);
    EXPECT_EQ(window->Connection.Session.SessionState, ssSendingSetup);
    EXPECT_EQ(window->Connection.Operations.Programming.WhatToFlash(), nvmUser);
    EXPECT_FALSE(window->Controls.RealtimeCheckBox->isChecked());
    EXPECT_EQ(window->Controls.UserMultiplier->text(), "1234");
    EXPECT_EQ(window->Connection.Session.SetupData.UserMultiplier(), 1234);
    EXPECT_EQ(window->Controls.DBEdit1->text(), "Sensor 7");
    EXPECT_EQ(window->Connection.Codec.OutputData[0], 0x10) << "the first pair is on its way";
}

struct TNotSentCase {
    const char* What;
    bool OnCradle;
    TSessionState State;
    bool ChoiceFails;
    const char* Message;
};

void PrintTo(const TNotSentCase& c, std::ostream* out)
{
    *out << c.What;
}

class CradleFormWizardNotSent : public CradleFormWizardTest,
                                public testing::WithParamInterface<TNotSentCase> {};

TEST_P(CradleFormWizardNotSent, ReportsWhyAndKeepsTheUnitsSettings)
{
    const TNotSentCase& c = GetParam();
    auto window = WindowOnUnit();
    window->Connection.Session.OnCradle = c.OnCradle;
    window->Connection.Session.SetSessionState(c.State);
    window->Connection.Codec.OutputCount = 0;
    const TSetupData before = window->Connection.Session.SetupData;

    QTest::mouseClick(window->Controls.WizardBtn, Qt::LeftButton);
    if (c.ChoiceFails)
        wizard.Close([](TSetupData&, int) {
            throw std::runtime_error(
                "Divider for sensor \"Sensor 7\": 40000 is outside 0 to 32767");
        });
    else
        wizard.Close(Choice());
    Answer(*window, QMessageBox::Yes);

    QMessageBox* error = OpenMessage(*window);
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->icon(), QMessageBox::Critical);
    EXPECT_EQ(error->text(), QString::fromUtf8(c.Message));
    EXPECT_EQ(choiceApplied, 0);
    EXPECT_EQ(window->Connection.Session.SetupData, before);
    EXPECT_EQ(window->Connection.Session.SessionState, c.State);
    EXPECT_EQ(window->Connection.Codec.OutputCount, 0u);
    EXPECT_EQ(window->Controls.DBEdit1->text(), "Sensor 9");
}

constexpr const char* NotSentMessage = "The sensor settings were not sent: there is no unit on the "
                                       "cradle, or another operation is running.";

INSTANTIATE_TEST_SUITE_P(
    Cases, CradleFormWizardNotSent,
    testing::Values(TNotSentCase{"no unit on the cradle", false, ssNone, false, NotSentMessage},
                    TNotSentCase{"reading the logger", true, ssReadingLog, false, NotSentMessage},
                    TNotSentCase{"a value that does not fit", true, ssIdle, true,
                                 "Divider for sensor \"Sensor 7\": 40000 is outside 0 to 32767"}));

} // namespace
} // namespace qzr::test
