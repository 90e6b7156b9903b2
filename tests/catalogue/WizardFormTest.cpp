#include "SettingsPrinters.h"

#include <catalogue/FloatField.h>
#include <catalogue/SensorTable.h>
#include <catalogue/WizardForm.h>
#include <translation/FormTranslator.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace qzr {
namespace {

TSensorRecord Sensor(qint32 id, const char* name, const char* caption, double min, double max)
{
    TSensorRecord sensor;
    sensor.sensor_ID = id;
    sensor.sensor_name = QString::fromUtf8(name);
    sensor.sensor_caption = QString::fromUtf8(caption);
    sensor.sensor_min = min;
    sensor.sensor_max = max;
    sensor.sensor_FS = 100;
    return sensor;
}

// A catalogue whose sensors have the limits 1 to 3, 2 to 2 and 180 to 220, and
// an owner window the dialog opens over.
class WizardFormTest : public testing::Test {
protected:
    WizardFormTest()
    {
        catalogue.Load({Sensor(4, "Strain gauge", "µV per µm/m", 1, 3),
                        Sensor(12, "Millivolt input", "µV per mV", 2, 2),
                        Sensor(1, "Load cell 50 kg", "µV per kg", 180, 220)});
        owner.setGeometry(200, 150, 569, 274);
        owner.show();
    }

    std::unique_ptr<TWizardForm> OpenWizard(float sensitivity)
    {
        auto wizard = std::make_unique<TWizardForm>(catalogue, &owner);
        wizard->SetSensitivity(sensitivity);
        return wizard;
    }

    // Picks a sensor in the list as the user does, with the keyboard.
    static void PickWithKey(TWizardForm& wizard, Qt::Key key)
    {
        QTest::keyClick(wizard.DBLookupComboBox1, key);
    }

    // Replaces the entry as the user types it and leaves the field.
    static void TypeSensitivity(TWizardForm& wizard, const char* text)
    {
        wizard.SensitivityField->selectAll();
        QTest::keyClicks(wizard.SensitivityField, QString::fromLatin1(text));
        emit wizard.SensitivityField->editingFinished();
    }

    TSensorTable catalogue;
    QWidget owner;
};

TEST_F(WizardFormTest, ShowsTheCurrentSensorAndItsNamedControls)
{
    catalogue.Locate(12);
    auto wizard = OpenWizard(2.0625f);

    EXPECT_EQ(wizard->objectName(), "WizardForm");
    EXPECT_EQ(wizard->windowTitle(), "User settings");
    EXPECT_EQ(wizard->DBLookupComboBox1->count(), 3);
    EXPECT_EQ(wizard->DBLookupComboBox1->currentText(), "Millivolt input");
    EXPECT_EQ(wizard->DBEdit1->text(), "Millivolt input");
    EXPECT_TRUE(wizard->DBEdit1->isReadOnly());
    EXPECT_EQ(wizard->DBText->text(), "µV per mV");
    EXPECT_EQ(wizard->SensitivityLabel->buddy(), wizard->SensitivityField);
    // Shown with the picture's two decimals, kept exactly.
    EXPECT_EQ(wizard->SensitivityField->text(), "2.06");
    EXPECT_EQ(wizard->Sensitivity(), 2.0625f);
    EXPECT_TRUE(wizard->OKBtn->isDefault());
    for (const char* name : {"DBLookupComboBox1", "DBEdit1", "SensitivityLabel", "SensitivityField",
                             "DBText", "OKBtn", "CancelBtn"})
        EXPECT_NE(wizard->findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
}

TEST_F(WizardFormTest, IsTranslatedUnderItsOwnKeysAndLeavesTheCatalogueDataAlone)
{
    auto wizard = OpenWizard(2.0f);
    QStringList keys;
    TranslateWindow(*wizard, [&keys](const QString& key, const QString& text) {
        keys << key;
        return QStringLiteral("[%1]").arg(text);
    });
    keys.sort();
    EXPECT_EQ(keys,
              QStringList({"WizardForm.CancelBtn.caption", "WizardForm.Caption",
                           "WizardForm.OKBtn.caption", "WizardForm.SensitivityLabel.caption"}));
    EXPECT_EQ(wizard->OKBtn->text(), "[&OK]");
    EXPECT_EQ(wizard->DBText->text(), "µV per µm/m");
    EXPECT_EQ(wizard->DBLookupComboBox1->itemText(0), "Strain gauge");
}

TEST_F(WizardFormTest, OpensCentredOnItsOwner)
{
    auto wizard = OpenWizard(2.0f);
    wizard->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(wizard.get()));
    // Within a pixel: odd sizes do not halve evenly.
    const QPoint offset = wizard->frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << ", " << offset.y();
    EXPECT_GE(wizard->width(), TWizardForm::ClientWidth);
    EXPECT_GE(wizard->height(), TWizardForm::ClientHeight);
}

struct TPickCase {
    const char* What;
    Qt::Key Key; // from the first sensor (1 to 3)
    float Sensitivity;
    float Kept;
    double Lowest;
    double Highest;
};

void PrintTo(const TPickCase& c, std::ostream* out)
{
    *out << c.What;
}

class WizardSensorPick : public WizardFormTest, public testing::WithParamInterface<TPickCase> {};

TEST_P(WizardSensorPick, KeepsTheSensitivityWithinThePickedSensorsLimits)
{
    const TPickCase& c = GetParam();
    catalogue.Locate(12);
    auto wizard = OpenWizard(c.Sensitivity);
    PickWithKey(*wizard, Qt::Key_Up);
    ASSERT_EQ(catalogue.Current().sensor_ID, 4);
    if (c.Key != Qt::Key_Up)
        PickWithKey(*wizard, c.Key);

    EXPECT_EQ(wizard->Sensitivity(), c.Kept) << c.What;
    EXPECT_DOUBLE_EQ(wizard->SensitivityField->Lowest(), c.Lowest) << c.What;
    EXPECT_DOUBLE_EQ(wizard->SensitivityField->Highest(), c.Highest) << c.What;
    EXPECT_EQ(wizard->DBEdit1->text(), catalogue.Current().sensor_name) << c.What;
}

INSTANTIATE_TEST_SUITE_P(
    Limits, WizardSensorPick,
    testing::Values(TPickCase{"5 within 1 to 3", Qt::Key_Up, 5.0f, 3.0f, 0.99, 3.01},
                    TPickCase{"0.5 within 1 to 3", Qt::Key_Up, 0.5f, 1.0f, 0.99, 3.01},
                    TPickCase{"2.5 within 1 to 3", Qt::Key_Up, 2.5f, 2.5f, 0.99, 3.01},
                    TPickCase{"5 with 2 to 2", Qt::Key_Down, 5.0f, 2.0f, 1.99, 2.01},
                    TPickCase{"0.5 with 2 to 2", Qt::Key_Down, 0.5f, 2.0f, 1.99, 2.01}));

TEST_F(WizardFormTest, AnEntryOutsideThePickedSensorsRangeIsKeptWithinItsLimits)
{
    auto wizard = OpenWizard(2.0f);
    PickWithKey(*wizard, Qt::Key_Down);
    PickWithKey(*wizard, Qt::Key_Up);
    ASSERT_EQ(catalogue.Current().sensor_ID, 4);

    TypeSensitivity(*wizard, "3,5");
    EXPECT_EQ(wizard->Sensitivity(), 3.0f);
    EXPECT_EQ(wizard->SensitivityField->text(), "3.00");
    TypeSensitivity(*wizard, "0.2");
    EXPECT_EQ(wizard->Sensitivity(), 1.0f);
    TypeSensitivity(*wizard, "2.75");
    EXPECT_EQ(wizard->Sensitivity(), 2.75f);
}

TEST_F(WizardFormTest, TheEntryTakesOnlyThePicturesDigits)
{
    auto wizard = OpenWizard(0.0f);
    TypeSensitivity(*wizard, "12345.678-");
    EXPECT_EQ(wizard->SensitivityField->text(), "1234.67");
    EXPECT_EQ(wizard->Sensitivity(), 1234.67f);
}

TEST_F(WizardFormTest, OKTakesTheEntryWithinTheSensorsLimitsAndClosesWithOK)
{
    auto wizard = OpenWizard(2.0f);
    PickWithKey(*wizard, Qt::Key_Down);
    PickWithKey(*wizard, Qt::Key_Up);
    wizard->SensitivityField->selectAll();
    QTest::keyClicks(wizard->SensitivityField, QStringLiteral("7"));
    wizard->open();
    QTest::mouseClick(wizard->OKBtn, Qt::LeftButton);
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
    EXPECT_EQ(wizard->Sensitivity(), 3.0f);
}

TEST_F(WizardFormTest, CancelAndEscapeCloseWithCancel)
{
    for (bool escape : {false, true}) {
        auto wizard = OpenWizard(2.0f);
        wizard->open();
        if (escape)
            QTest::keyClick(wizard.get(), Qt::Key_Escape);
        else
            QTest::mouseClick(wizard->CancelBtn, Qt::LeftButton);
        EXPECT_FALSE(wizard->isVisible());
        EXPECT_EQ(wizard->result(), QDialog::Rejected) << (escape ? "Escape" : "Cancel");
    }
}

TEST_F(WizardFormTest, AnEmptyCatalogueOffersNoSensorToConfirm)
{
    catalogue.Clear();
    auto wizard = OpenWizard(2.0f);
    EXPECT_EQ(wizard->DBLookupComboBox1->count(), 0);
    EXPECT_FALSE(wizard->OKBtn->isEnabled());
    EXPECT_TRUE(wizard->CancelBtn->isEnabled());
}

} // namespace
} // namespace qzr
