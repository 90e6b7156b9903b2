#pragma once

#include <optional>
#include <string>
#include <string_view>

// Small text files of "key=value" lines, as sysfs uevent files and virtual
// bus descriptors are written.
namespace vexa::platform {

// The whole file, or nothing when it cannot be read.
std::optional<std::string> readSmallFile(const std::string& path);

// The value of the first line "key=value"; lines starting with '#' are
// comments and a trailing carriage return is dropped.
std::optional<std::string> valueOf(std::string_view text, std::string_view key);

} // namespace vexa::platform
