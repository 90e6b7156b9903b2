#include "app/version/BuildVersionBlock.h"

#include "app/version/BuildInfo.h"

namespace qzr {
namespace {

constexpr std::uint32_t FileOSUnknown = 0;
constexpr std::uint32_t FileTypeApplication = 1;

const QString StringTable = QStringLiteral("\\StringFileInfo\\040904E4\\");

constexpr std::uint32_t DoubleWord(std::uint16_t high, std::uint16_t low)
{
    return static_cast<std::uint32_t>(high) << 16 | low;
}

} // namespace

std::unique_ptr<TVersionBlockTable> BuildVersionBlock()
{
    auto block = std::make_unique<TVersionBlockTable>();
    TFixedFileInfo fixed;
    fixed.FileVersionMS = DoubleWord(build::VersionMajor, build::VersionMinor);
    fixed.FileVersionLS = DoubleWord(build::VersionPatch, build::VersionTweak);
    fixed.ProductVersionMS = fixed.FileVersionMS;
    fixed.ProductVersionLS = fixed.FileVersionLS;
    fixed.FileOS = FileOSUnknown;
    fixed.FileType = FileTypeApplication;
    block->Fixed = fixed;
    block->Strings = {
        {StringTable + "CompanyName", QString::fromUtf8(build::CompanyName)},
        {StringTable + "FileDescription", QString::fromUtf8(build::Description)},
        {StringTable + "InternalName", QString::fromUtf8(build::ProgramName)},
        {StringTable + "LegalCopyright", QString::fromUtf8(build::LegalCopyright)},
        {StringTable + "OriginalFileName", QString::fromUtf8(build::ProgramName)},
        {StringTable + "ProductName", QString::fromUtf8(build::ProductName)},
        {StringTable + "ProductVersion", QString::fromUtf8(build::ProductVersion)},
    };
    return block;
}

} // namespace qzr
