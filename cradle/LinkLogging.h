#pragma once

#include <QLoggingCategory>

namespace qzr {

// Diagnostic trace of the cradle links ("On cradle.", "Off cradle.").
Q_DECLARE_LOGGING_CATEGORY(lcCradleLink)

} // namespace qzr
