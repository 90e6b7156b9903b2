#include "cli/SetupImageReport.h"

#include <QByteArray>

#include <array>
#include <charconv>
#include <cstdlib>

namespace qzr::cli {

QString SetupImageHex(const TSetupData& image)
{
    return QString::fromLatin1(QByteArray(reinterpret_cast<const char*>(image.data()),
                                          static_cast<qsizetype>(image.size()))
                                   .toHex());
}

QString SingleText(float value)
{
    std::array<char, 32> text{};
    const auto end = std::to_chars(text.data(), text.data() + text.size() - 1, value).ptr;
    return QString::fromLatin1(text.data(), end - text.data());
}

QJsonValue SingleNumber(float value)
{
    return std::strtod(SingleText(value).toLatin1().constData(), nullptr);
}

} // namespace qzr::cli
