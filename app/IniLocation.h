#pragma once

#include <QString>

namespace qzr {

// Where "QZR.INI" lives: beside the program, or in the user's configuration
// directory when the program's directory cannot be written (an installed
// program), so that the settings are not lost.
QString IniFilePath(const QString& programDir, const QString& userConfigDir);

// The same for the running program.
QString DefaultIniFilePath();

} // namespace qzr
