#pragma once

#include <QString>
#include <stdexcept>

namespace qzr {

// Every error of the HID device layer that is meant for the caller; the text is shown as it is.
class EUSBException : public std::runtime_error {
public:
    explicit EUSBException(const QString& Message) : std::runtime_error(Message.toStdString()) {}
};

} // namespace qzr
