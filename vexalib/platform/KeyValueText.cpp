#include "platform/KeyValueText.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace vexa::platform {
namespace {

// Descriptors and uevent files are a few hundred bytes; anything past this is
// not one of them.
constexpr std::size_t maximumFileSize = 64 * 1024;

} // namespace

std::optional<std::string> readSmallFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return std::nullopt;
    std::string content;
    char chunk[4096];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0 || content.size() + static_cast<std::size_t>(got) > maximumFileSize) {
            ::close(fd);
            if (got == 0)
                return content;
            return std::nullopt;
        }
        content.append(chunk, static_cast<std::size_t>(got));
    }
}

std::optional<std::string> valueOf(std::string_view text, std::string_view key)
{
    while (!text.empty()) {
        const auto end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        const auto equals = line.find('=');
        if (equals != std::string_view::npos && line.substr(0, equals) == key)
            return std::string(line.substr(equals + 1));
    }
    return std::nullopt;
}

} // namespace vexa::platform
