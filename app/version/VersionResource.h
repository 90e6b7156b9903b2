#pragma once

#include "app/version/VersionBlock.h"
#include "app/version/VersionInfo.h"
#include "app/version/VersionLanguage.h"

#include <QObject>

#include <functional>

namespace qzr {

// Reads a file's whole version block (the fixed file information and the
// string table of one language and character set) into VersionInfo. It reads
// the program's own file with US English, multilingual, unless told
// otherwise, and reads again whenever one of those three settings changes.
class TVersionResource : public QObject {
    Q_OBJECT
public:
    // reader: where version blocks come from; empty: the platform's.
    explicit TVersionResource(QObject* owner = nullptr, TVersionBlockReader reader = {});

    // True when FileName is not the program's own path.
    bool StoreFileName() const { return FStoreFileName; }

    const QString& FileName() const { return FFileName; }
    void SetFileName(const QString& fileName);
    TVersionLanguage Language() const { return FLanguage; }
    void SetLanguage(TVersionLanguage language);
    TCharacterSet CharacterSet() const { return FCharacterSet; }
    void SetCharacterSet(TCharacterSet characterSet);

    const TVersionInfo& VersionInfo() const { return FVersionInfo; }

    // Empties VersionInfo and fills it from FileName's version block.
    void ReadVersionInfo();

    // Raised after a setting changed and the block was read again.
    std::function<void(QObject* sender)> OnChange;

private:
    void ClearVersionInfo();
    void ParseVersionInfo(const TVersionBlock& block);
    void Changed();

    bool FStoreFileName = false;
    QString FFileName;
    TVersionLanguage FLanguage = lnUSEnglish;
    TCharacterSet FCharacterSet = csMultilingual;
    TVersionInfo FVersionInfo;
    TVersionBlockReader FReader;
};

} // namespace qzr
