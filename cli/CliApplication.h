#pragma once

#include <QStringList>

namespace qzr::cli {

// Runs qzr-cli with the arguments after the program's name and returns its
// exit code. A QCoreApplication must exist.
int RunQzrCli(const QStringList& arguments);

} // namespace qzr::cli
