#pragma once

#include <QString>

#include <cstdint>

namespace qzr::cli {

// Option values checked as the commands need them; a value that is not such a
// number, or lies outside its range, is the usage error (exit code 2) naming
// the option.
std::int64_t ParseInteger(const QString& option, const QString& text, std::int64_t minimum,
                          std::int64_t maximum);
// A decimal number with "." as the separator, whatever the locale.
double ParseDecimal(const QString& option, const QString& text);

} // namespace qzr::cli
