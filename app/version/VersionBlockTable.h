#pragma once

#include "app/version/VersionBlock.h"

#include <QHash>

namespace qzr {

// A version block held in memory: the fixed file information, when there is
// one, and the string values by their sub-block paths.
class TVersionBlockTable : public TVersionBlock {
public:
    std::optional<TFixedFileInfo> Fixed;
    QHash<QString, QString> Strings;

    std::optional<TFixedFileInfo> FixedFileInfo() const override { return Fixed; }
    std::optional<QString> StringValue(const QString& subBlock) const override;
};

} // namespace qzr
