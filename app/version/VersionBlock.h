#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

namespace qzr {

// The fixed file information of a version block: file and product version as
// two double words each (most significant first), the operating system, the
// file type and its subtype.
struct TFixedFileInfo {
    std::uint32_t FileVersionMS = 0;
    std::uint32_t FileVersionLS = 0;
    std::uint32_t ProductVersionMS = 0;
    std::uint32_t ProductVersionLS = 0;
    std::uint32_t FileOS = 0;
    std::uint32_t FileType = 0;
    std::uint32_t FileSubtype = 0;
};

// A file's version block as read from the file: its fixed file information
// (the sub-block "\") and the values of its string tables, each addressed by
// its sub-block path, such as "\StringFileInfo\040904E4\CompanyName".
class TVersionBlock {
public:
    virtual ~TVersionBlock() = default;

    virtual std::optional<TFixedFileInfo> FixedFileInfo() const = 0;
    virtual std::optional<QString> StringValue(const QString& subBlock) const = 0;
};

// Reads the version block of a file; nullptr when the file has none or
// cannot be read.
using TVersionBlockReader = std::function<std::unique_ptr<TVersionBlock>(const QString& fileName)>;

} // namespace qzr
