#pragma once

#include "cli/CliContext.h"

#include <QString>

namespace qzr::cli {

// The confirmation that a command needs before it changes the unit: given by
// --yes, or asked on the terminal. Without --yes and without a terminal on
// standard input the command is refused (exit code 2), checked before the
// command starts; a "no" ends it (exit code 1). Either way nothing has been
// sent.
void RequireConfirmation(const TCliContext& context, const QString& action);
void AskConfirmation(const TCliContext& context, const QString& question);

} // namespace qzr::cli
