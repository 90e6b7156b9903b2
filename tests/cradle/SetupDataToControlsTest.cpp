#include "CradleFormFixture.h"
#include "widgets/IntegerField.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

namespace qzr::test {
namespace {

using SetupDataToControlsTest = CradleFormFixture;

TEST_F(SetupDataToControlsTest, TheImageFillsEveryControl)
{
    auto window = NewWindow();
    TSetupData& image = window->Connection.Session.SetupData;
    for (int range = 0; range < 6; ++range) {
        image.SetS16(SetupOffset::AmpOffset(range), static_cast<std::int16_t>(-100 - range));
        image.SetS16(SetupOffset::AmpMultiplier(range), static_cast<std::int16_t>(1000 + range));
        image.SetS16(SetupOffset::AmpDivider(range), static_cast<std::int16_t>(2000 + range));
    }
    image.SetU16(SetupOffset::AmplifierSelection, 7); // half of 7 rounds down to range 3 (8x)
    image.SetS16(SetupOffset::UserMultiplier, 32767);
    image.SetU16(SetupOffset::UserDivider, 0x8000);
    image[SetupOffset::Decimals] = 2;
    image[SetupOffset::NegativesAllowed] = 1;
    image[SetupOffset::SensorId] = 9;
    image.SetSensitivity(2.0625f);

    window->SetupDataToControls();
    const TCradleFormControls& c = window->Controls;
    for (std::size_t range = 0; range < 6; ++range) {
        EXPECT_EQ(c.AdAmpOffset[range]->Value(), -100 - static_cast<int>(range));
        EXPECT_EQ(c.AdAmpMultiplier[range]->Value(), 1000 + static_cast<int>(range));
        EXPECT_EQ(c.AdAmpDivider[range]->Value(), 2000 + static_cast<int>(range));
    }
    EXPECT_EQ(c.AdAmpSelectBox->ItemIndex(), 3);
    EXPECT_EQ(c.AdAmpSelectBox2->ItemIndex(), 3);
    EXPECT_TRUE(window->Connection.Operations.Readings.AdAmpSelectBoxWasClicked);
    EXPECT_EQ(c.UserMultiplier->Value(), 32767);
    EXPECT_EQ(c.UserDivider->Value(), -32768);
    EXPECT_EQ(c.DecDotSelectBox->ItemIndex(), 2);
    EXPECT_TRUE(c.NegativesAllowedCheckBox->isChecked());
    EXPECT_EQ(catalogue.current, 9);
    EXPECT_EQ(c.DBEdit1->text(), "Sensor 9");
    EXPECT_EQ(c.DBText->text(), "mV/V");
    EXPECT_EQ(c.SensitivityField->text(), "2.06");
}

TEST_F(SetupDataToControlsTest, AmplifierWordsBeyondTheLastRangeSelectItAndUnknownSensorsStay)
{
    auto window = NewWindow();
    catalogue.current = 7;
    window->Connection.Session.SetupData[SetupOffset::AmplifierSelection] = 0xFF;
    window->Connection.Session.SetupData[SetupOffset::SensorId] = 200;
    window->SetupDataToControls();
    EXPECT_EQ(window->Controls.AdAmpSelectBox->ItemIndex(), 5);
    EXPECT_EQ(catalogue.current, 7);
    EXPECT_EQ(window->Controls.DBEdit1->text(), "Sensor 7");
}

TEST_F(SetupDataToControlsTest, TheTwoAmplifierSelectorsMirrorEachOtherAndFlagTheChange)
{
    auto window = NewWindow();
    TRadioGroup* calibration = window->Controls.AdAmpSelectBox;
    TRadioGroup* advanced = window->Controls.AdAmpSelectBox2;

    advanced->Button(4)->click();
    EXPECT_EQ(calibration->ItemIndex(), 4);
    EXPECT_TRUE(window->Connection.Operations.Readings.AdAmpSelectBoxWasClicked);

    window->Connection.Operations.Readings.AdAmpSelectBoxWasClicked = false;
    calibration->SetItemIndex(4); // the index it already shows: no change
    EXPECT_FALSE(window->Connection.Operations.Readings.AdAmpSelectBoxWasClicked);

    calibration->SetItemIndex(1);
    EXPECT_EQ(advanced->ItemIndex(), 1);
    EXPECT_TRUE(advanced->Button(1)->isChecked());
    EXPECT_TRUE(window->Connection.Operations.Readings.AdAmpSelectBoxWasClicked);
}

} // namespace
} // namespace qzr::test
