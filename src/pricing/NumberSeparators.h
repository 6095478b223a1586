// The decimal and thousands separators all number text is parsed and
// produced with. They follow the user's regional settings (see
// RegionalSeparators.h); tests set them directly.
#pragma once

#include <string>

namespace dorvak {

// The current decimal separator: one character, UTF-8 encoded. "." until set.
std::string DecimalSeparator();

// The current thousands separator: one character, UTF-8 encoded. "," until set.
std::string ThousandsSeparator();

// Makes `decimal` and `thousands` (UTF-8) the current separators. A text that
// is not exactly one character (empty, longer, or not valid UTF-8) gives the
// default instead: "." for the decimal separator, "," for the thousands one.
// Texts already produced keep their old separators. Not thread-safe: call it
// on the thread that parses and formats.
void SetNumberSeparators(const std::string& decimal, const std::string& thousands);

}  // namespace dorvak
