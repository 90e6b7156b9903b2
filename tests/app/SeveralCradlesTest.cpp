#include "ProgramRig.h"
#include "cradle/CradleLock.h"

#include <QFile>
#include <QSet>

#include <string>
#include <vector>

namespace qzr::test {
namespace {

QString Caption(std::uint32_t serial)
{
    return QStringLiteral("#%1").arg(serial, 8, 16, QLatin1Char('0')).toUpper();
}

// The captions of the windows whose units hold a session, sorted.
QStringList IdleCaptions()
{
    QStringList captions;
    for (const TCradleForm* window : TMainForm::CradleForms())
        if (window->Connection.Connected() && window->Connection.Session.SessionState == ssIdle)
            captions.append(window->windowTitle());
    captions.sort();
    return captions;
}

class SeveralCradlesTest : public ProgramRig {
protected:
    // Adds the cradles in this order, each with a unit of its own.
    QStringList AddCradles(const std::vector<std::pair<std::string, bool>>& cradles)
    {
        QStringList captions;
        std::uint32_t serial = 0x00C0FFEE;
        for (const auto& [name, bridge] : cradles) {
            if (bridge)
                simulator->addBridgeCradle(name);
            else
                simulator->addHidCradle(name);
            simulator->placeUnit(name, sim::UnitSpec::demo(serial));
            captions.append(Caption(serial));
            ++serial;
        }
        captions.sort();
        return captions;
    }
};

TEST_F(SeveralCradlesTest, FourHidCradlesAndTwoBridgesAllHoldSessions)
{
    const QStringList captions = AddCradles(
        {{"h1", false}, {"b1", true}, {"h2", false}, {"h3", false}, {"b2", true}, {"h4", false}});
    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return IdleCaptions() == captions; }))
        << IdleCaptions().join(' ').toStdString();
    EXPECT_EQ(Windows().size(), 6);
    QSet<std::uint8_t> sessionIds;
    for (const TCradleForm* window : Windows())
        sessionIds.insert(window->Connection.Session.SessionID);
    EXPECT_EQ(sessionIds.size(), 6) << "every window holds a session of its own";
    EXPECT_TRUE(errors.isEmpty()) << errors.join('\n').toStdString();
}

// Where the cradle that another program holds stands in the enumeration.
class HeldCradleInEnumeration : public SeveralCradlesTest,
                                public ::testing::WithParamInterface<int> {};

TEST_P(HeldCradleInEnumeration, KeepsNoOtherCradleFromItsWindowAndIsReportedOnce)
{
    std::vector<std::pair<std::string, bool>> cradles{
        {"c1", false}, {"c2", true}, {"c3", false}, {"c4", false}, {"c5", true}};
    // The held HID cradle at the place the parameter names, the rest keep
    // their order; the simulator lists its cradles by name.
    const int heldPlace = GetParam();
    std::vector<int> hidPlaces;
    for (int i = 0; i < static_cast<int>(cradles.size()); ++i)
        if (!cradles[i].second)
            hidPlaces.push_back(i);
    const std::string held = cradles[hidPlaces[heldPlace]].first;
    QStringList captions = AddCradles(cradles);
    const QString heldPath = QString::fromStdString(simulator->devicePath(held).string());
    auto otherProgram = std::make_unique<TCradleLock>(heldPath);
    ASSERT_TRUE(otherProgram->Taken());

    StartProgram();
    const QString heldCaption =
        Caption(0x00C0FFEE + static_cast<std::uint32_t>(hidPlaces[heldPlace]));
    captions.removeOne(heldCaption);
    ASSERT_TRUE(WaitFor([&] { return IdleCaptions() == captions; }))
        << IdleCaptions().join(' ').toStdString();
    EXPECT_EQ(Windows().size(), 4);
    EXPECT_EQ(errors, QStringList{"The cradle " + heldPath + " is in use by another program."});

    // Later scans try it again without telling it again.
    simulator->addHidCradle("c6");
    ASSERT_TRUE(WaitFor([&] { return Windows().size() == 5; }));
    EXPECT_EQ(errors.size(), 1);

    // Once the other program lets go, the next scan opens it.
    otherProgram.reset();
    simulator->addHidCradle("c7");
    captions.append(heldCaption);
    captions.sort();
    ASSERT_TRUE(WaitFor([&] { return Windows().size() == 7; }));
    ASSERT_TRUE(WaitFor([&] {
        const QStringList idle = IdleCaptions();
        return idle.contains(heldCaption);
    }));
    EXPECT_EQ(errors.size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Places, HeldCradleInEnumeration, ::testing::Values(0, 1, 2),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return std::string(info.param == 0   ? "First"
                                                : info.param == 1 ? "Middle"
                                                                  : "Last");
                         });

TEST_F(SeveralCradlesTest, ALanguageTableDamagedBehindItsHeaderLeavesCradleDetectionWorking)
{
    const QString table = filesDir.filePath(QStringLiteral("language.mdb"));
    translator.reset();
    {
        QFile file(table);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        const qint64 size = file.size();
        ASSERT_GT(size, 8192);
        file.seek(4096);
        file.write(QByteArray(size - 4096, '\xA7'));
    }
    translator = std::make_unique<TTranslator>(
        TTranslatorOptions{table, [this](const QString& error) { errors.append(error); }, [] {}});
    ASSERT_TRUE(translator->ConnectionIsvalid()) << "the damage shows only on the first look-up";
    const QStringList captions = AddCradles({{"hid", false}});

    StartProgram();
    ASSERT_TRUE(WaitFor([&] { return IdleCaptions() == captions; }));
    ASSERT_EQ(errors.size(), 1) << errors.join('\n').toStdString();
    EXPECT_TRUE(errors.front().contains(table));
    EXPECT_EQ(mainForm->windowTitle(), personality->MainformCaption);

    simulator->addBridgeCradle("bridge");
    ASSERT_TRUE(WaitFor([&] { return WindowOf(ifSorvik) != nullptr; }));
    EXPECT_EQ(errors.size(), 1);
}

} // namespace
} // namespace qzr::test
