#pragma once

#include <protocol/SetupData.h>

#include <QJsonValue>
#include <QString>

namespace qzr::cli {

// The setup image as 128 lower-case hexadecimal digits.
QString SetupImageHex(const TSetupData& image);

// A single-precision value as the JSON number of its shortest decimal form
// (2.0625, 0.1), not of its binary expansion.
QJsonValue SingleNumber(float value);
// The same as text.
QString SingleText(float value);

} // namespace qzr::cli
