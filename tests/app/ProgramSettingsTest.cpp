#include "app/IniLocation.h"
#include "cradle/CradleIdentifierSettings.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qzr::test {
namespace {

TEST(CradleIdentifierSettingsTest, TheFactoryGroupOverridesTheBuiltInIdentifiers)
{
    struct Case {
        const char* vendor; // null: not set
        const char* hidProduct;
        std::uint16_t expectedVendor;
        std::uint16_t expectedHidProduct;
    };
    const TCradleIdentifierSet builtIn;
    const Case cases[] = {
        {nullptr, nullptr, builtIn.VendorId, builtIn.HidProductId},
        {"0x1234", "0x00ab", 0x1234, 0x00AB},
        {"4660", "  171 ", 0x1234, 0x00AB},
        {"0xFFFF", "0", 0xFFFF, 0},
        {"0x10000", "-1", builtIn.VendorId, builtIn.HidProductId}, // beyond 16 bits
        {"vendor", "", builtIn.VendorId, builtIn.HidProductId},    // not a number
    };
    for (const Case& c : cases) {
        QTemporaryDir dir;
        QSettings settings(dir.filePath(QStringLiteral("QZR.conf")), QSettings::IniFormat);
        if (c.vendor != nullptr)
            settings.setValue(QStringLiteral("FACTORY/CRADLEVENDORID"), c.vendor);
        if (c.hidProduct != nullptr)
            settings.setValue(QStringLiteral("FACTORY/HIDCRADLEPRODUCTID"), c.hidProduct);
        const TCradleIdentifierSet read = ReadCradleIdentifiers(settings);
        EXPECT_EQ(read.VendorId, c.expectedVendor) << (c.vendor ? c.vendor : "unset");
        EXPECT_EQ(read.HidProductId, c.expectedHidProduct);
        EXPECT_EQ(read.BridgeProductId, builtIn.BridgeProductId);
    }
}

TEST(IniLocationTest, TheIniFileLivesBesideTheProgramWhereThatCanBeWritten)
{
    QTemporaryDir program;
    QTemporaryDir user;
    EXPECT_EQ(IniFilePath(program.path(), user.path()),
              program.filePath(QStringLiteral("QZR.INI")));

    const QString gone = program.filePath(QStringLiteral("missing"));
    const QString userDir = user.filePath(QStringLiteral("config"));
    EXPECT_EQ(IniFilePath(gone, userDir), QDir(userDir).filePath(QStringLiteral("QZR.INI")));
    EXPECT_TRUE(QDir(userDir).exists());
}

} // namespace
} // namespace qzr::test
