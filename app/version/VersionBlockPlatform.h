#pragma once

#include "app/version/VersionBlock.h"

namespace qzr {

// The version block of a file as the platform keeps it. Each platform has
// its own source file: a Windows build reads the file's version resource;
// on Linux the program's own block comes from its build data and other files
// have none.
std::unique_ptr<TVersionBlock> ReadVersionBlock(const QString& fileName);

} // namespace qzr
