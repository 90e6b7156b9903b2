#pragma once

#include <QString>
#include <stdexcept>

namespace qzr {

// A failure of the language table: it cannot be opened, read or appended to.
class TTranslatorError : public std::runtime_error {
public:
    explicit TTranslatorError(const QString& message)
        : std::runtime_error(message.toStdString()), FMessage(message)
    {}
    const QString& Message() const { return FMessage; }

private:
    QString FMessage;
};

} // namespace qzr
