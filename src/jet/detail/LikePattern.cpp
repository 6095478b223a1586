#include "jet/detail/LikePattern.h"

#include "jet/Error.h"

namespace jet::detail {

char16_t LikePattern::fold(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return char16_t(c - 32);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        if (c == 0x131) return u'I';
        if (c == 0x138 || c == 0x149 || c == 0x17F) return c;
        bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddLower) return (c & 1) ? c : char16_t(c - 1);
        return (c & 1) ? char16_t(c - 1) : c;
    }
    // Croatian digraph letters: DŽ Dž dž, LJ Lj lj, NJ Nj nj.
    if (c >= 0x1C4 && c <= 0x1CC) return char16_t(0x1C4 + (c - 0x1C4) / 3 * 3);
    if (c >= 0x3B1 && c <= 0x3C9) return c == 0x3C2 ? char16_t(0x3A3) : char16_t(c - 32);
    if (c >= 0x430 && c <= 0x44F) return char16_t(c - 32);
    if (c >= 0x450 && c <= 0x45F) return char16_t(c - 80);
    if (c >= 0xFF41 && c <= 0xFF5A) return char16_t(c - 32);
    return c;
}

LikePattern::LikePattern(std::u16string_view p) {
    bool literalRun = true;
    for (std::size_t i = 0; i < p.size(); ++i) {
        Token t;
        char16_t c = p[i];
        if (c == u'%') {
            t.kind = Token::AnyRun;
            if (!tokens_.empty() && tokens_.back().kind == Token::AnyRun) continue;
        } else if (c == u'_') {
            t.kind = Token::AnyOne;
        } else if (c == u'[') {
            std::size_t close = p.find(u']', i + 1);
            if (close == std::u16string_view::npos)
                throw Error(ErrorCategory::InvalidArgument, "Invalid pattern string.");
            t.kind = Token::Set;
            std::size_t j = i + 1;
            if (j < close && p[j] == u'!') {
                t.negated = true;
                ++j;
            }
            if (j == close && !t.negated) t.emptySet = true;
            for (; j < close; ++j) {
                char16_t lo = fold(p[j]);
                if (j + 2 < close && p[j + 1] == u'-') {
                    char16_t hi = fold(p[j + 2]);
                    t.ranges.emplace_back(lo, hi);
                    j += 2;
                } else {
                    t.ranges.emplace_back(lo, lo);
                }
            }
            i = close;
        } else {
            t.ch = fold(c);
            if (literalRun) prefix_.push_back(c);
        }
        if (t.kind != Token::Literal) literalRun = false;
        if (t.emptySet) continue;  // matches nothing, consumes nothing
        tokens_.push_back(std::move(t));
    }
}

bool LikePattern::matchSet(const Token& t, char16_t c) const {
    char16_t f = fold(c);
    bool in = false;
    for (auto [lo, hi] : t.ranges)
        if (f >= lo && f <= hi) {
            in = true;
            break;
        }
    return in != t.negated;
}

bool LikePattern::matches(std::u16string_view s) const {
    // Iterative matching with one backtrack point per "%": linear for the
    // usual prefix patterns, quadratic at worst.
    std::size_t ti = 0, si = 0;
    std::size_t starT = std::u16string::npos, starS = 0;
    while (si < s.size()) {
        if (ti < tokens_.size()) {
            const Token& t = tokens_[ti];
            if (t.kind == Token::AnyRun) {
                starT = ti++;
                starS = si;
                continue;
            }
            bool ok = t.kind == Token::AnyOne || (t.kind == Token::Literal && t.ch == fold(s[si])) ||
                      (t.kind == Token::Set && matchSet(t, s[si]));
            if (ok) {
                ++ti;
                ++si;
                continue;
            }
        }
        if (starT == std::u16string::npos) return false;
        ti = starT + 1;
        si = ++starS;
    }
    while (ti < tokens_.size() && tokens_[ti].kind == Token::AnyRun) ++ti;
    return ti == tokens_.size();
}

}  // namespace jet::detail
