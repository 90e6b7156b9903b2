#pragma once

#include <QString>

namespace qzr {

// The directory of the program's data files (the sensor catalogue, the
// language table and the files the personality names): the program's own
// directory when they are beside it, as in the build tree or an unpacked
// folder; otherwise the installed data directory, when it exists.
QString ProgramDataDir(const QString& programDir, const QString& installedDataDir);

// The same for the running program, whose installed data directory lies at
// a fixed place from its own directory.
QString DefaultProgramDataDir();

} // namespace qzr
