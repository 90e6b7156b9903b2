#pragma once

#include <QString>

namespace qzr {

// The file name of the language database.
inline constexpr char LanguageDatabaseName[] = "language.mdb";

// The language database the program works on. It is the installed file
// beside the program while that file and its directory can be written (new
// keys are appended to it). Otherwise it is the user's copy, which is taken
// from the installed file when it does not exist yet or when the installed
// file has changed since the copy was taken (an update); if no copy can be
// made the installed file is used as it is.
// A missing installed file is returned as it is, for the caller to report.
QString ChooseLanguageDatabase(const QString& installed, const QString& userCopy,
                               bool installedWritable);

// ChooseLanguageDatabase for language.mdb in the directory and a copy in the
// user's configuration directory. The directory of an installation is never
// written, even where it could be (by root): the copy takes the new rows.
QString LanguageDatabaseIn(const QString& directory, bool installed);

// LanguageDatabaseIn the directory of the running program.
QString DefaultLanguageDatabase();

} // namespace qzr
