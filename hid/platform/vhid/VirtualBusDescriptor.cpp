#include "hid/platform/vhid/VirtualBusDescriptor.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace qzr {

VirtualBusDescriptor VirtualBusDescriptor::Parse(const std::string& Text)
{
    VirtualBusDescriptor descriptor;
    std::istringstream lines(Text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '#')
            continue;
        const auto equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        descriptor.FValues[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return descriptor;
}

VirtualBusDescriptor VirtualBusDescriptor::Read(const QString& FileName)
{
    std::ifstream file(FileName.toStdString(), std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return Parse(text.str());
}

std::uint16_t VirtualBusDescriptor::Number(const std::string& Key) const
{
    const auto found = FValues.find(Key);
    if (found == FValues.end())
        return 0;
    return static_cast<std::uint16_t>(std::strtoul(found->second.c_str(), nullptr, 0));
}

QString VirtualBusDescriptor::Text(const std::string& Key) const
{
    const auto found = FValues.find(Key);
    return found == FValues.end() ? QString() : QString::fromStdString(found->second);
}

HidAttributes VirtualBusDescriptor::Attributes() const
{
    return {Number("vid"), Number("pid"), Number("version")};
}

} // namespace qzr
