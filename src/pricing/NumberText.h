// Number text as the user reads and types it, with the current separators
// (NumberSeparators.h): parsing, the general float format and pictures.
#pragma once

#include <string>

#include "pricing/NumberFormatError.h"

namespace dorvak {

// Reads `text` as a decimal number written with the current decimal
// separator: optional leading and trailing spaces (not tabs), an optional
// sign directly before the digits, digits with at most one separator (at
// least a digit or the separator), an optional exponent "e"/"E" with optional
// sign and digits ("1e" is 1). No thousands separators. The value is exact
// to extended precision; a value too small for it is 0.
// Throws NumberFormatError for anything else, including a value too large
// for long double.
long double ParseFloat(const std::string& text);

// Like ParseFloat, and then narrowed to a double as a percentage is stored:
// throws std::overflow_error ("Floating point overflow") when the value is
// too large for a double.
double ParseDouble(const std::string& text);

// The general float format: 15 significant digits without trailing zeros,
// plain notation for decimal exponents from -3 to 15 and scientific
// ("1E15", "1E-5", "1,5E20") outside them, no grouping, never "-0".
// Infinities and NaN give "INF", "-INF" and "NAN".
std::string FormatGeneral(double value);

// Formats `value` with `picture`: "#" and "0" are digit places, the first
// "." marks the decimal separator, a "," anywhere turns on grouping with the
// thousands separator. Zeros before the point set the minimum integer
// digits, the last "0" after it the decimals always printed, the places after
// it the decimals rounded to; integer digits are never capped. Magnitudes of
// 10^18 and more after rounding fall back to FormatGeneral. A value that
// rounds to zero has no sign. Example: "#,##0.00" gives "1,234.50" with the
// default separators.
std::string FormatFloat(const std::string& picture, double value);

}  // namespace dorvak
