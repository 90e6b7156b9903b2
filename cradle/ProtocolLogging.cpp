#include "cradle/ProtocolLogging.h"

namespace qzr {

Q_LOGGING_CATEGORY(lcFrameCodec, "qzr.link", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSession, "qzr.session", QtWarningMsg)

} // namespace qzr
