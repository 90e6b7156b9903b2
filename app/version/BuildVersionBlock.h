#pragma once

#include "app/version/VersionBlockTable.h"

#include <memory>

namespace qzr {

// The program's version block made from its build data: the project version
// as the four-part file and product version, and the product's names in the
// string table of US English, multilingual character set (040904E4).
std::unique_ptr<TVersionBlockTable> BuildVersionBlock();

} // namespace qzr
