#include "app/SingleInstance.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace qzr::test {
namespace {

bool ProcessEventsUntil(const std::function<bool()>& condition)
{
    const QDeadlineTimer deadline(5000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(FDirectory.isValid()); }
    QString Name(const QString& which) const { return FDirectory.filePath(which + ".instance"); }

    QTemporaryDir FDirectory;
};

TEST_F(SingleInstanceTest, ASecondProgramHandsOverToTheFirstWhichShowsItself)
{
    TSingleInstance first(Name("bus-a"));
    EXPECT_FALSE(first.HandOver()) << "nobody listens yet";
    ASSERT_TRUE(first.Listen());
    int showRequests = 0;
    first.OnShowRequest = [&] { ++showRequests; };

    TSingleInstance second(Name("bus-a"));
    EXPECT_TRUE(second.HandOver());
    EXPECT_TRUE(ProcessEventsUntil([&] { return showRequests == 1; }));
    EXPECT_FALSE(second.Listen()) << "the first one keeps its socket";

    TSingleInstance otherBus(Name("bus-b"));
    EXPECT_FALSE(otherBus.HandOver()) << "a program on another bus is another instance";
    EXPECT_TRUE(otherBus.Listen());
    QCoreApplication::processEvents();
    EXPECT_EQ(showRequests, 1);
}

TEST_F(SingleInstanceTest, ASocketLeftBehindByAProgramThatEndedIsReplaced)
{
    {
        QFile leftOver(Name("bus-a"));
        ASSERT_TRUE(leftOver.open(QIODevice::WriteOnly));
    }
    TSingleInstance instance(Name("bus-a"));
    EXPECT_FALSE(instance.HandOver());
    ASSERT_TRUE(instance.Listen());
    int showRequests = 0;
    instance.OnShowRequest = [&] { ++showRequests; };
    EXPECT_TRUE(TSingleInstance(Name("bus-a")).HandOver());
    EXPECT_TRUE(ProcessEventsUntil([&] { return showRequests == 1; }));
}

TEST(SingleInstanceName, DependsOnTheBusAndLivesInTheRuntimeDirectory)
{
    const QByteArray previous = qgetenv("VHID_BUS");
    qputenv("VHID_BUS", "/tmp/bus-one");
    const QString one = TSingleInstance::NameForThisSession();
    qputenv("VHID_BUS", "/tmp/bus-two");
    const QString two = TSingleInstance::NameForThisSession();
    qunsetenv("VHID_BUS");
    const QString system = TSingleInstance::NameForThisSession();
    if (previous.isNull())
        qunsetenv("VHID_BUS");
    else
        qputenv("VHID_BUS", previous);
    EXPECT_NE(one, two);
    EXPECT_NE(one, system);
    EXPECT_TRUE(system.endsWith("-system.instance")) << system.toStdString();
}

} // namespace
} // namespace qzr::test
