#pragma once

#include "cli/CommandLine.h"
#include "cli/Output.h"

#include "cradle/CradleIdentifierSet.h"

namespace qzr::cli {

// What every command is given: its command line, where its results go and
// the cradle identifiers in force.
struct TCliContext {
    const TCommandLine& Line;
    TOutput& Output;
    TCradleIdentifierSet Ids;
};

} // namespace qzr::cli
