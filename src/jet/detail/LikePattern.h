// The LIKE of the price-list statement: letter case ignored, accents kept;
// "%" any run, "_" one character, "[...]" a list with ranges and "!"
// negation, everything else literal.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace jet::detail {

class LikePattern {
public:
    // Throws Error(InvalidArgument) "Invalid pattern string." for a "[" that
    // is never closed, as the reference engine's pattern matcher does.
    explicit LikePattern(std::u16string_view pattern);

    bool matches(std::u16string_view text) const;
    // The literal text every match must begin with (case as typed): what an
    // index seek can start from. Empty when the pattern starts with a wildcard.
    const std::u16string& literalPrefix() const { return prefix_; }

    // Simple case folding to upper case for the scripts a price list uses.
    static char16_t fold(char16_t c);

private:
    struct Token {
        enum Kind { Literal, AnyOne, AnyRun, Set } kind = Literal;
        char16_t ch = 0;
        bool negated = false;
        std::vector<std::pair<char16_t, char16_t>> ranges;  // folded
        bool emptySet = false;  // "[]" matches the empty string
    };
    bool matchSet(const Token& t, char16_t c) const;

    std::vector<Token> tokens_;
    std::u16string prefix_;
};

}  // namespace jet::detail
