// Test entry point for tests of parts without windows: a core application
// object gives them timers and an event loop, and nothing of QtGui is loaded.
#include <QCoreApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
