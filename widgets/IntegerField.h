#pragma once

#include <QLineEdit>

#include <cstdint>

namespace qzr {

// A numeric entry field. The user can type only whole numbers within the
// field's range; the program can set any value, which the field then shows
// as it is. An empty field holds 0; with BlankZero, 0 is shown empty.
class TIntegerField : public QLineEdit {
    Q_OBJECT
public:
    TIntegerField(int minimum, int maximum, QWidget* parent = nullptr);

    std::int64_t Value() const;
    void SetValue(std::int64_t value);

    void SetBlankZero(bool blankZero) { FBlankZero = blankZero; }

private:
    bool FBlankZero = false;
};

} // namespace qzr
