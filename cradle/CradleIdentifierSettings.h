#pragma once

#include "cradle/CradleIdentifierSet.h"

class QSettings;

namespace qzr {

// The USB identifiers of the cradles: the built-in ones, unless the system
// settings' FACTORY group names others ("CRADLEVENDORID",
// "HIDCRADLEPRODUCTID", "BRIDGECRADLEPRODUCTID", each "0x" + hexadecimal or
// decimal, at most 0xFFFF). A value that is not such a number is ignored.
TCradleIdentifierSet ReadCradleIdentifiers(QSettings& systemSettings);

// The same from the program's system settings.
TCradleIdentifierSet ReadCradleIdentifiers();

} // namespace qzr
