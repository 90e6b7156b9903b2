#pragma once

#include <QString>

namespace qzr {

class TVersionResource;

// The values of one file's version block, as TVersionResource read them;
// each is empty when the block does not hold it.
class TVersionInfo {
public:
    const QString& Comment() const { return FComment; }
    const QString& CompanyName() const { return FCompanyName; }
    const QString& FileDescription() const { return FFileDescription; }
    const QString& FileVersion() const { return FFileVersion; }
    const QString& InternalName() const { return FInternalName; }
    const QString& LegalCopyright() const { return FLegalCopyright; }
    const QString& LegalTradeMarks() const { return FLegalTradeMarks; }
    const QString& OriginalFileName() const { return FOriginalFileName; }
    const QString& PrivateBuild() const { return FPrivateBuild; }
    const QString& ProductName() const { return FProductName; }
    const QString& ProductVersion() const { return FProductVersion; }
    const QString& SpecialBuild() const { return FSpecialBuild; }
    const QString& FileOS() const { return FFileOS; }
    const QString& FileType() const { return FFileType; }
    const QString& FileSubType() const { return FFileSubType; }

private:
    friend class TVersionResource;

    QString FComment;
    QString FCompanyName;
    QString FFileDescription;
    QString FFileVersion;
    QString FInternalName;
    QString FLegalCopyright;
    QString FLegalTradeMarks;
    QString FOriginalFileName;
    QString FPrivateBuild;
    QString FProductName;
    QString FProductVersion;
    QString FSpecialBuild;
    QString FFileOS;
    QString FFileType;
    QString FFileSubType;
};

} // namespace qzr
