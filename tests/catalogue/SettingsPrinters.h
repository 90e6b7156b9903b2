#pragma once

#include <catalogue/FixedPointSensitivity.h>
#include <catalogue/SettingsCalculation.h>

#include <QString>

#include <ostream>

// Readable values in the failure messages of the settings tests.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace qzr {

inline void PrintTo(const TZT46Settings& s, std::ostream* out)
{
    *out << "{amplifier " << s.AmplifierSetting << ", multiplier " << s.Multiplier << ", divider "
         << s.Divider << ", decimals " << s.DecDotSetting << ", negatives " << s.NegativesAllowed
         << '}';
}

inline void PrintTo(const TFixedPointSensitivity& f, std::ostream* out)
{
    *out << "{decimals " << int(f.Decimals) << ", value ";
    if (f.Value)
        *out << *f.Value;
    else
        *out << "kept";
    *out << '}';
}

} // namespace qzr
