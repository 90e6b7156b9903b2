#pragma once

#include <QString>

namespace qzr {

// Where "QZR.INI" lives: beside the program, or in the user's configuration
// directory when the program's directory cannot be written or belongs to an
// installation (whose directories are the system's, even for root), so that
// the settings are not lost.
QString IniFilePath(const QString& programDir, const QString& userConfigDir,
                    bool installed = false);

// The same for the running program.
QString DefaultIniFilePath(bool installed);

} // namespace qzr
