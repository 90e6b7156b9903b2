#pragma once

#include <QString>

#include <cstdint>

namespace qzr {

// The texts of a version block's fixed file information: the operating
// system the file was built for, its type and, for drivers and fonts, its
// subtype. A value without a text reads "Unknown"; the subtype of any other
// type is empty.
QString FileOSText(std::uint32_t fileOS);
QString FileTypeText(std::uint32_t fileType);
QString FileSubTypeText(std::uint32_t fileType, std::uint32_t fileSubtype);

} // namespace qzr
