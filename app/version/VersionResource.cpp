#include "app/version/VersionResource.h"

#include "app/version/VersionBlockPlatform.h"
#include "app/version/VersionTexts.h"

#include <QCoreApplication>

#include <utility>

namespace qzr {
namespace {

// A version as two double words: four 16-bit parts, most significant first.
QString VersionText(std::uint32_t mostSignificant, std::uint32_t leastSignificant)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(mostSignificant >> 16)
        .arg(mostSignificant & 0xFFFF)
        .arg(leastSignificant >> 16)
        .arg(leastSignificant & 0xFFFF);
}

QString Hex4(std::uint16_t value)
{
    return QStringLiteral("%1").arg(value, 4, 16, QLatin1Char('0')).toUpper();
}

} // namespace

TVersionResource::TVersionResource(QObject* owner, TVersionBlockReader reader)
    : QObject(owner), FFileName(QCoreApplication::applicationFilePath()),
      FReader(reader ? std::move(reader) : TVersionBlockReader(ReadVersionBlock))
{
    ReadVersionInfo();
}

void TVersionResource::SetFileName(const QString& fileName)
{
    FFileName = fileName;
    FStoreFileName = fileName != QCoreApplication::applicationFilePath();
    Changed();
}

void TVersionResource::SetLanguage(TVersionLanguage language)
{
    FLanguage = language;
    Changed();
}

void TVersionResource::SetCharacterSet(TCharacterSet characterSet)
{
    FCharacterSet = characterSet;
    Changed();
}

void TVersionResource::Changed()
{
    ReadVersionInfo();
    if (OnChange)
        OnChange(this);
}

void TVersionResource::ReadVersionInfo()
{
    ClearVersionInfo();
    if (const auto block = FReader(FFileName))
        ParseVersionInfo(*block);
}

void TVersionResource::ClearVersionInfo()
{
    FVersionInfo = TVersionInfo();
}

void TVersionResource::ParseVersionInfo(const TVersionBlock& block)
{
    const auto fixed = block.FixedFileInfo();
    if (!fixed)
        return;
    TVersionInfo& info = FVersionInfo;
    info.FFileVersion = VersionText(fixed->FileVersionMS, fixed->FileVersionLS);
    info.FProductVersion = VersionText(fixed->ProductVersionMS, fixed->ProductVersionLS);
    info.FFileOS = FileOSText(fixed->FileOS);
    info.FFileType = FileTypeText(fixed->FileType);
    info.FFileSubType = FileSubTypeText(fixed->FileType, fixed->FileSubtype);

    const QString prefix = QStringLiteral("\\StringFileInfo\\") + Hex4(LanguageId(FLanguage)) +
                           Hex4(CodePageId(FCharacterSet)) + QStringLiteral("\\");
    const std::pair<const char*, QString TVersionInfo::*> values[] = {
        {"Comments", &TVersionInfo::FComment},
        {"CompanyName", &TVersionInfo::FCompanyName},
        {"FileDescription", &TVersionInfo::FFileDescription},
        {"InternalName", &TVersionInfo::FInternalName},
        {"LegalCopyright", &TVersionInfo::FLegalCopyright},
        {"LegalTradeMarks", &TVersionInfo::FLegalTradeMarks},
        {"OriginalFileName", &TVersionInfo::FOriginalFileName},
        {"PrivateBuild", &TVersionInfo::FPrivateBuild},
        {"ProductName", &TVersionInfo::FProductName},
        {"ProductVersion", &TVersionInfo::FProductVersion},
        {"SpecialBuild", &TVersionInfo::FSpecialBuild},
    };
    for (const auto& [name, field] : values) {
        if (auto text = block.StringValue(prefix + QLatin1String(name)))
            info.*field = std::move(*text);
    }
}

} // namespace qzr
