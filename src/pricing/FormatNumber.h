// The amount text of the price labels.
#pragma once

#include <string>

namespace dorvak {

// Formats Value with the picture built from Mode and Decimals: Decimals
// zeros, preceded by "#########0." for Mode 1 and by "####,###,##0." for
// Mode 2 (any other mode keeps the bare zeros); "#0" when Decimals is 0 or
// less. FormatNumber(1, 2, 1234.5) is "1234.50" with the default separators.
std::string FormatNumber(int Mode, int Decimals, double Value);

}  // namespace dorvak
