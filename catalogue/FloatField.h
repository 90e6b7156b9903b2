#pragma once

#include <QLineEdit>

namespace qzr {

// A single-precision number entry with a picture of whole and decimal digits
// ("####.##": four and two). The user can type only numbers of that shape,
// with "." or "," as the decimal separator; the program can set any value,
// which the field keeps exactly while it shows it with the picture's
// decimals. An entry outside the field's range is reported with RangeError
// when the user finishes it, and CheckEntry tells whether the entry is
// within the range; an empty field holds 0.
class TFloatField : public QLineEdit {
    Q_OBJECT
public:
    TFloatField(int wholeDigits, int decimals, QWidget* parent = nullptr);

    float Value() const { return FValue; }
    void SetValue(float value);

    // The accepted range, limits included.
    void SetRange(double lowest, double highest);
    double Lowest() const { return FLowest; }
    double Highest() const { return FHighest; }
    // The largest value the picture can show.
    double PictureMaximum() const;

    // True when the value lies within the range; otherwise RangeError is
    // emitted and false returned.
    bool CheckEntry();

signals:
    void RangeError();

private:
    void TakeEntry(const QString& text);
    void SetPictureValidator();

    int FWholeDigits;
    int FDecimals;
    float FValue = 0;
    double FLowest = 0;
    double FHighest = 0;
};

} // namespace qzr
