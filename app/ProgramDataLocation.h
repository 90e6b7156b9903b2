#pragma once

#include <QString>

namespace qzr {

// Where the program's data files are (the sensor catalogue, the language
// table and the files the personality names).
struct TProgramFiles {
    QString DataDir;
    // The files are an installation's: the program writes the user's
    // additions to the user's configuration directory, never beside them.
    bool Installed = false;
};

// The program's own directory when the data files are beside it, as in the
// build tree or an unpacked folder; otherwise the installed data directory,
// when it exists; otherwise the program's directory still, so that a missing
// file is reported where it was looked for first.
TProgramFiles FindProgramFiles(const QString& programDir, const QString& installedDataDir);

// The same for the running program, whose installed data directory lies at
// a fixed place from its own directory.
TProgramFiles DefaultProgramFiles();

} // namespace qzr
