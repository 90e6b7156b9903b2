#include "cradle/LinkLogging.h"

namespace qzr {

Q_LOGGING_CATEGORY(lcCradleLink, "qzr.link", QtWarningMsg)

} // namespace qzr
