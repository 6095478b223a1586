#include "pricing/NumberSeparators.h"

#include <string_view>

namespace dorvak {

namespace {

std::string& Decimal() {
    static std::string separator = ".";
    return separator;
}

std::string& Thousands() {
    static std::string separator = ",";
    return separator;
}

// Exactly one well-formed UTF-8 character: the separators are matched and
// inserted as units, and two characters could never come from one key press.
bool IsOneCharacter(std::string_view s) {
    if (s.empty()) return false;
    auto lead = static_cast<unsigned char>(s[0]);
    std::size_t length = lead < 0x80           ? 1
                         : (lead >> 5) == 0x6  ? 2
                         : (lead >> 4) == 0xE  ? 3
                         : (lead >> 3) == 0x1E ? 4
                                               : 0;
    if (length == 0 || s.size() != length) return false;
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return false;
    }
    return true;
}

}  // namespace

std::string DecimalSeparator() { return Decimal(); }

std::string ThousandsSeparator() { return Thousands(); }

void SetNumberSeparators(const std::string& decimal, const std::string& thousands) {
    Decimal() = IsOneCharacter(decimal) ? decimal : ".";
    Thousands() = IsOneCharacter(thousands) ? thousands : ",";
}

}  // namespace dorvak
