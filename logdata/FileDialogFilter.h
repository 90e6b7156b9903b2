#pragma once

#include <QString>

namespace qzr {

// A file dialog's filter as the program's texts give it, pairs of a
// description and its patterns separated by "|" ("Logger files
// (*.qzr)|*.qzr|All files (*.*)|*.*"), as the list of filters that Qt's file
// dialogs take ("Logger files (*.qzr);;All files (*)"). "*.*" matches every
// file, with or without an extension.
QString QtFileFilter(const QString& filter);

} // namespace qzr
