#include "CradleFormFixture.h"
#include "widgets/IntegerField.h"
#include "widgets/RadioGroup.h"

#include <QComboBox>
#include <QLabel>

#include <vector>

namespace qzr::test {
namespace {

class CradleFormRequestsTest : public CradleFormFixture {
protected:
    // The frame in a codec's output buffer.
    static std::vector<std::uint8_t> SentFrame(const TFrameCodec& codec)
    {
        return {codec.OutputData.begin(), codec.OutputData.begin() + codec.OutputCount};
    }

    // The frame of a message, as the window must send it.
    static std::vector<std::uint8_t> FrameOf(std::initializer_list<std::uint8_t> message)
    {
        TFrameCodec codec;
        TMessageBuffer buffer{};
        std::copy(message.begin(), message.end(), buffer.begin());
        codec.SendBlock(buffer, static_cast<std::uint32_t>(message.size()));
        return SentFrame(codec);
    }
};

TEST_F(CradleFormRequestsTest, AChangedRangeReplacesOneReadingRequestBySendingTheRange)
{
    auto window = NewWindow();
    window->Connection.Session.SessionID = 0x35;
    window->Connection.Session.MultiMode = true;
    window->Connection.Session.SetupData[SetupOffset::AmplifierSelection + 1] = 0x7F;

    window->Connection.RealTimerTimer();
    EXPECT_EQ(SentFrame(window->Connection.Codec), FrameOf({msgRealtime, 0x35}));

    window->Controls.AdAmpSelectBox2->SetItemIndex(3);
    window->Connection.RealTimerTimer();
    EXPECT_EQ(SentFrame(window->Connection.Codec), FrameOf({msgWriteSetup, 0x35, 36, 0, 6, 0}));
    EXPECT_FALSE(window->Connection.Session.MultiMode);
    EXPECT_EQ(window->Connection.Session.SetupData[SetupOffset::AmplifierSelection], 6);
    EXPECT_EQ(window->Connection.Session.SetupData[SetupOffset::AmplifierSelection + 1], 0);
    EXPECT_FALSE(window->Connection.Operations.Readings.AdAmpSelectBoxWasClicked);

    window->Connection.RealTimerTimer();
    EXPECT_EQ(SentFrame(window->Connection.Codec), FrameOf({msgRealtime, 0x35}));
}

TEST_F(CradleFormRequestsTest, EveryLoggerTickAsksForTheStatus)
{
    auto window = NewWindow();
    window->Connection.Session.SessionID = 0x10;
    for (int tick = 0; tick < 2; ++tick) {
        window->Connection.LoggerTimerTimer();
        EXPECT_EQ(SentFrame(window->Connection.Codec), FrameOf({msgLoggerStatus, 0x10}));
        EXPECT_EQ(window->Connection.Codec.OutputIndex, 0u) << "each tick sends afresh";
        window->Connection.Codec.OutputIndex = window->Connection.Codec.OutputCount;
    }
}

TEST_F(CradleFormRequestsTest, APresetFillsTheIntervalAndTheListShowsNoChoice)
{
    struct Case {
        int item;
        const char* shown;
    };
    const Case cases[] = {{0, "30"}, {7, "3600"}, {12, "43200"}, {13, "43200"}, {-1, "43200"}};
    auto window = NewWindow();
    QComboBox* presets = window->Controls.LogIntervalPresetBox;
    for (const Case& c : cases) {
        presets->setCurrentIndex(c.item);
        emit presets->activated(c.item);
        EXPECT_EQ(window->Controls.LogIntervalEdit->text(), c.shown) << "item " << c.item;
        EXPECT_EQ(presets->currentIndex(), -1) << "item " << c.item;
    }
}

TEST_F(CradleFormRequestsTest, ASessionStartBlanksTheReadingsAndTheLoggerSheet)
{
    auto window = NewWindow();
    const TCradleFormControls& c = window->Controls;
    const std::vector<QLabel*> texts = {c.AD1Text,
                                        c.AD2Text,
                                        c.V1Text,
                                        c.User1Text,
                                        c.MinimumStaticText,
                                        c.MaximumStaticText,
                                        c.IntegralStaticText,
                                        c.RemainingIntervalStaticText};
    for (QLabel* text : texts)
        text->setText(QStringLiteral("17"));
    c.LoggerStatusStaticText->setText(QStringLiteral("Idle"));
    c.LogIntervalEdit->SetValue(600);
    c.LogIntervalPresetBox->setCurrentIndex(4);

    window->Connection.Session.SessionStarts();
    for (QLabel* text : texts)
        EXPECT_TRUE(text->text().isEmpty()) << text->objectName().toStdString();
    EXPECT_EQ(c.LoggerStatusStaticText->text(), "--");
    EXPECT_TRUE(c.LogIntervalEdit->text().isEmpty());
    EXPECT_EQ(c.LogIntervalPresetBox->currentIndex(), -1);
    EXPECT_EQ(window->Connection.Session.SessionState, ssReadingSetup);
    EXPECT_TRUE(window->Connection.SessionTimer.isActive());
}

} // namespace
} // namespace qzr::test
