// Number text is exact to the last printed digit: a double is first expanded
// to 18 significant decimal digits (correctly rounded, ties to even) and only
// that expansion is cut to the wanted digits, rounding half up on the next
// digit. Users compare these figures with their invoices, so an amount such
// as 2.675, stored just below the half, must print as "2,67" every time,
// whatever the platform's printf would do.

#include "pricing/NumberText.h"

#include "pricing/NumberSeparators.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace dorvak {

namespace {

constexpr int kExpansionDigits = 18;
constexpr int kGeneralDigits = 15;

// A decimal number 0.digits × 10^exponent with no trailing zeros in digits;
// empty digits mean zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;

    bool isZero() const { return digits.empty(); }
};

Decimal Expand(double value) {
    Decimal d;
    d.negative = std::signbit(value);
    if (value == 0) return d;
    char buffer[64];
    auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, kExpansionDigits - 1);
    if (ec != std::errc{}) throw std::runtime_error("number conversion failed");
    std::string_view text(buffer, static_cast<std::size_t>(end - buffer));
    std::size_t e = text.find('e');
    d.digits.reserve(kExpansionDigits);
    for (char c : text.substr(0, e)) {
        if (c != '.') d.digits += c;
    }
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(),
                    exponent);
    d.exponent = exponent + 1;
    return d;
}

void DropTrailingZeros(Decimal& d) {
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

// Keeps `count` significant digits of an 18-digit expansion, rounding the
// magnitude up when the first dropped digit is 5 or more. A count of zero or
// less keeps none: the value becomes zero or, when the digit just below the
// kept places rounds up, one unit of the last kept place.
Decimal Round(Decimal d, int count) {
    if (d.isZero()) return d;
    if (count >= static_cast<int>(d.digits.size())) {
        DropTrailingZeros(d);
        return d;
    }
    if (count < 0) {
        d.digits.clear();
        return d;
    }
    bool up = d.digits[static_cast<std::size_t>(count)] >= '5';
    d.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i >= 0) {
            ++d.digits[static_cast<std::size_t>(i)];
        } else {
            d.digits.insert(d.digits.begin(), '1');
            ++d.exponent;
        }
    }
    DropTrailingZeros(d);
    return d;
}

// The digit of `d` at `index`, counted from the first significant one;
// places outside the digits are zeros.
char DigitAt(const Decimal& d, int index) {
    if (index < 0 || index >= static_cast<int>(d.digits.size())) return '0';
    return d.digits[static_cast<std::size_t>(index)];
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct Picture {
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
    bool grouping = false;
};

Picture ParsePicture(std::string_view text) {
    Picture p;
    bool afterPoint = false;
    int integerPlaces = 0;
    int firstZero = -1;
    for (char c : text) {
        if (c == ',') {
            p.grouping = true;
        } else if (c == '.') {
            afterPoint = true;
        } else if (c == '0' || c == '#') {
            if (afterPoint) {
                ++p.maxDecimals;
                if (c == '0') p.minDecimals = p.maxDecimals;
            } else {
                if (c == '0' && firstZero < 0) firstZero = integerPlaces;
                ++integerPlaces;
            }
        }
    }
    if (firstZero >= 0) p.minIntegerDigits = integerPlaces - firstZero;
    return p;
}

std::string Group(const std::string& digits) {
    const std::string separator = ThousandsSeparator();
    std::string out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) out += separator;
        out += digits[i];
    }
    return out;
}

}  // namespace

long double ParseFloat(const std::string& text) {
    const std::string separator = DecimalSeparator();
    const std::size_t n = text.size();
    auto invalid = [&] { return NumberFormatError(text); };

    std::size_t i = 0;
    while (i < n && text[i] == ' ') ++i;
    bool negative = false;
    if (i < n && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string mantissa;
    while (i < n && IsDigit(text[i])) mantissa += text[i++];
    bool sawSeparator = false;
    long long fractionDigits = 0;
    if (text.compare(i, separator.size(), separator) == 0) {
        sawSeparator = true;
        i += separator.size();
        while (i < n && IsDigit(text[i])) {
            mantissa += text[i++];
            ++fractionDigits;
        }
    }
    if (mantissa.empty() && !sawSeparator) throw invalid();
    long long exponent = 0;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < n && (text[i] == '+' || text[i] == '-')) {
            negativeExponent = text[i] == '-';
            ++i;
        }
        // Stopping at 500 keeps the exponent bounded; a digit left over then
        // makes the text invalid below, as a huge exponent should.
        while (i < n && IsDigit(text[i]) && exponent < 500)
            exponent = exponent * 10 + (text[i++] - '0');
        if (negativeExponent) exponent = -exponent;
    }
    while (i < n && text[i] == ' ') ++i;
    if (i != n) throw invalid();

    std::size_t firstNonZero = mantissa.find_first_not_of('0');
    if (firstNonZero == std::string::npos) return negative ? -0.0L : 0.0L;
    // Digits and a plain exponent, without a decimal point: strtold reads
    // that form exactly and the same in every C locale.
    std::string normalised = mantissa.substr(firstNonZero);
    normalised += 'e';
    normalised += std::to_string(exponent - fractionDigits);
    errno = 0;
    char* end = nullptr;
    long double value = std::strtold(normalised.c_str(), &end);
    if (end != normalised.c_str() + normalised.size() || std::isinf(value)) throw invalid();
    return negative ? -value : value;
}

double ParseDouble(const std::string& text) {
    long double value = ParseFloat(text);
    double narrowed = static_cast<double>(value);
    if (std::isinf(narrowed)) throw std::overflow_error("Floating point overflow");
    return narrowed;
}

std::string FormatGeneral(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    Decimal d = Round(Expand(value), kGeneralDigits);
    if (d.isZero()) return "0";
    const std::string separator = DecimalSeparator();
    std::string out = d.negative ? "-" : "";
    const int e = d.exponent;
    const int count = static_cast<int>(d.digits.size());
    if (e > kGeneralDigits || e < -3) {
        out += d.digits[0];
        if (count > 1) out += separator + d.digits.substr(1);
        out += 'E';
        out += std::to_string(e - 1);
    } else if (e >= 1) {
        for (int i = 0; i < e; ++i) out += DigitAt(d, i);
        if (count > e) out += separator + d.digits.substr(static_cast<std::size_t>(e));
    } else {
        out += "0" + separator + std::string(static_cast<std::size_t>(-e), '0') + d.digits;
    }
    return out;
}

std::string FormatFloat(const std::string& picture, double value) {
    if (!std::isfinite(value)) return FormatGeneral(value);
    const Picture p = ParsePicture(picture);
    Decimal d = Expand(value);
    if (!d.isZero()) d = Round(d, std::min(d.exponent + p.maxDecimals, kExpansionDigits));
    if (!d.isZero() && d.exponent > kExpansionDigits) return FormatGeneral(value);

    std::string integer;
    for (int i = 0; i < d.exponent && !d.isZero(); ++i) integer += DigitAt(d, i);
    if (static_cast<int>(integer.size()) < p.minIntegerDigits) {
        integer.insert(0, static_cast<std::size_t>(p.minIntegerDigits) - integer.size(), '0');
    }
    if (p.grouping) integer = Group(integer);

    std::string fraction;
    for (int i = 0; i < p.maxDecimals; ++i) {
        fraction += d.isZero() ? '0' : DigitAt(d, d.exponent + i);
    }
    while (static_cast<int>(fraction.size()) > p.minDecimals && fraction.back() == '0') {
        fraction.pop_back();
    }

    std::string out = (d.negative && !d.isZero()) ? "-" : "";
    out += integer;
    if (!fraction.empty()) out += DecimalSeparator() + fraction;
    return out;
}

}  // namespace dorvak
