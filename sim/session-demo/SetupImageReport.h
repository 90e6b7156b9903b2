#pragma once

#include <iosfwd>

#include "protocol/SetupData.h"

namespace qzr::demo {

// Prints a setup image as a hex dump and as its decoded fields.
void printSetupImage(std::ostream& out, const TSetupData& image);

} // namespace qzr::demo
