#pragma once

#include <QString>

namespace qzr::cli {

// Whether standard input and standard error are terminals: a question is asked
// only on a terminal, and progress is drawn only on one.
bool StandardInputIsTerminal();
bool StandardErrorIsTerminal();

// Asks a yes/no question on standard error and reads the answer from standard
// input; only "y" or "yes" (any letter case) is a yes.
bool AskYesNo(const QString& question);

} // namespace qzr::cli
