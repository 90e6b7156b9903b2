#pragma once

#include <QString>

namespace qzr {

// Shows a message about a bad personality setting in a critical message box.
void ShowPersonalityError(const QString& message);

} // namespace qzr
