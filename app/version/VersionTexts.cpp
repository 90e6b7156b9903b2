#include "app/version/VersionTexts.h"

#include <QList>

#include <utility>

namespace qzr {
namespace {

using TValueTexts = QList<std::pair<std::uint32_t, const char*>>;

const QString UnknownText = QStringLiteral("Unknown");

constexpr std::uint32_t DriverType = 3;
constexpr std::uint32_t FontType = 4;

QString TextOf(const TValueTexts& texts, std::uint32_t value)
{
    for (const auto& [known, text] : texts) {
        if (known == value)
            return QString::fromLatin1(text);
    }
    return UnknownText;
}

} // namespace

QString FileOSText(std::uint32_t fileOS)
{
    static const TValueTexts texts = {
        {0x1, "Windows 3.0 or later"},
        {0x2, "16 bit OS/2 Presentation Manager"},
        {0x3, "32 bit OS/2 Presentation Manager"},
        {0x4, "32 bit Windows"},
        {0x10000, "MS-Dos"},
        {0x10001, "Windows 3.0 or later with MS-Dos"},
        {0x10004, "32 bit Windows with MS-Dos"},
        {0x20000, "16 bit OS/2"},
        {0x20002, "16 bit OS/2 with Presentation Manager"},
        {0x30000, "32 bit OS/2"},
        {0x30003, "32 bit OS/2 with Presentation Manager"},
        {0x40000, "Windows NT"},
        {0x40004, "Windows NT with 32 bit Windows"},
    };
    return TextOf(texts, fileOS);
}

QString FileTypeText(std::uint32_t fileType)
{
    static const TValueTexts texts = {
        {1, "Application"}, {2, "Dynamic-Link Library"},  {DriverType, "Device Driver"},
        {FontType, "Font"}, {5, "Virtual Device Driver"}, {7, "Static-Link Library"},
    };
    return TextOf(texts, fileType);
}

QString FileSubTypeText(std::uint32_t fileType, std::uint32_t fileSubtype)
{
    static const TValueTexts driverTexts = {
        {1, "Printer"}, {2, "Keyboard"}, {3, "Language"},    {4, "Display"}, {5, "Mouse"},
        {6, "Network"}, {7, "System"},   {8, "Installable"}, {9, "Sound"},   {10, "Communications"},
    };
    static const TValueTexts fontTexts = {{1, "Raster"}, {2, "Vector"}, {3, "TrueType"}};
    if (fileType == DriverType)
        return TextOf(driverTexts, fileSubtype);
    if (fileType == FontType)
        return TextOf(fontTexts, fileSubtype);
    return {};
}

} // namespace qzr
