#include "app/version/VersionBlockTable.h"

namespace qzr {

std::optional<QString> TVersionBlockTable::StringValue(const QString& subBlock) const
{
    const auto value = Strings.constFind(subBlock);
    if (value == Strings.constEnd())
        return std::nullopt;
    return *value;
}

} // namespace qzr
