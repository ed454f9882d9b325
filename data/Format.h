#pragma once
// Formatting of run times, fixed-point numbers and unit words. Texts are UTF-8;
// the decimal separator is the user's (the window and the report pass their locale's).

#include "data/Language.h"

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace kel {

// Minutes, ":", two-digit seconds with two decimals: 83.456 -> "1:23.46", -1.5 -> "-0:01.50";
// seconds that round up to 60.00 carry into the minutes. Infinities and NaN give "".
std::string FormatRaceTime(double seconds, std::string_view decimalSep);

// `value` with exactly `decimals` decimals, rounded to no more than `precision` significant
// digits (FixedText(123.456, 4, 2) == "123.50"); exponent notation when the integer part has
// more than `precision` digits (FixedText(12345.6, 4, 2) == "1.235E+4"). Ties of the binary
// value round away from zero; a value that rounds to zero has no sign; infinities and NaN give
// "". `precision` is taken within 1..17, `decimals` within 0..40.
std::string FixedText(double value, int precision, int decimals, std::string_view decimalSep);

enum UnitKind { Seconds = 1, Minutes = 2, Hours = 3, Days = 4, Weeks = 5, Months = 6, Years = 7 };

// The unit word that agrees with n: UnitWord(2, Hours) == "часа".
std::string_view UnitWord(int32_t n, int kind, Language language = Language::Russian);

// The double rounded to single precision; beyond the float range it becomes an infinity
// (a defined result, which the text functions show as no text).
inline float ToSingle(double x) {
    if (x > 3.4028234663852886e38 || x < -3.4028234663852886e38)
        return x > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return static_cast<float>(x);
}

// A number with its unit ("12.3" + " км"), or nothing when the number has no defined text.
std::string WithUnit(const std::string& number, std::string_view unit);

// Plain decimal integer.
std::string WholeNumber(long long n);

} // namespace kel
