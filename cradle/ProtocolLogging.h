#pragma once

#include <QLoggingCategory>

namespace qzr {

// Diagnostic trace of the frame codec ("Block sent.", "Protocol timed out."...)
// and of the session protocol ("Session starts.", "Received message with ID
// $20."...). Both are off by default; QT_LOGGING_RULES switches them on, e.g.
// "qzr.link.debug=true;qzr.session.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcFrameCodec)
Q_DECLARE_LOGGING_CATEGORY(lcSession)

} // namespace qzr
