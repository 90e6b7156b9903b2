#pragma once

#include "hid/platform/HidPlatform.h"

#include <QString>
#include <cstdint>
#include <map>
#include <string>

namespace qzr {

// The contents of a virtual bus device's NAME.dev file: key=value lines, '#' comments.
class VirtualBusDescriptor {
public:
    static VirtualBusDescriptor Parse(const std::string& Text);
    // Reads and parses a file; a file that cannot be read gives an empty descriptor.
    static VirtualBusDescriptor Read(const QString& FileName);

    // The 16-bit value of a number written as in C (0x hexadecimal, leading 0 octal, decimal);
    // 0 when the key is absent.
    std::uint16_t Number(const std::string& Key) const;
    // The text of a key; empty when absent.
    QString Text(const std::string& Key) const;
    HidAttributes Attributes() const;

private:
    std::map<std::string, std::string> FValues;
};

} // namespace qzr
