#include "jet/detail/LikePattern.h"

#include <gtest/gtest.h>

#include "jet/Error.h"

namespace {

using jet::detail::LikePattern;

struct Case {
    const char16_t* pattern;
    const char16_t* text;
    bool matches;
};

class LikeMatches : public testing::TestWithParam<Case> {};

TEST_P(LikeMatches, AsTheReferenceEngine) {
    const Case& c = GetParam();
    EXPECT_EQ(LikePattern(c.pattern).matches(c.text), c.matches);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LikeMatches,
    testing::Values(
        // letter case is ignored, for Croatian letters too
        Case{u"abc%", u"ABC-002", true}, Case{u"čšž%", u"ČŠŽ-01", true}, Case{u"đć%", u"ĐĆ-03", true},
        Case{u"ǆ%", u"Ǆ-1", true},
        // accents are kept: C is not Č
        Case{u"CSZ%", u"ČŠŽ-01", false}, Case{u"ČŠŽ%", u"CSZ-05", false},
        // % any run (also empty), _ exactly one
        Case{u"%", u"", true}, Case{u"%%%", u"x", true}, Case{u"%12", u"AB%12", true},
        Case{u"AB_12", u"AB%12", true}, Case{u"AB_12", u"AB12", false}, Case{u"A%B%C", u"AxxBxxC", true},
        Case{u"A%B%C", u"AxxBxx", false}, Case{u"%a%a%a%b", u"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaa", false},
        // lists, ranges, negation; "[" "%" "_" inside a list are literal
        Case{u"[AB]12%", u"B12", true}, Case{u"[AB]12%", u"[AB]12", false}, Case{u"[[]AB]12%", u"[AB]12", true},
        Case{u"[a-c]%", u"B1", true}, Case{u"[a-c]%", u"D1", false}, Case{u"[!a-c]%", u"D1", true},
        Case{u"[!a-c]%", u"b1", false}, Case{u"AB[%]%", u"AB%12", true}, Case{u"AB[_]%", u"ABX12", false},
        Case{u"A[]B", u"AB", true},
        // everything else is literal, trailing spaces included
        Case{u"KOD2   %", u"KOD2   ", true}, Case{u"KOD2 %", u"KOD2", false}, Case{u"A&&%", u"A&&B", true},
        Case{u"   K%", u"   KOD1", true}, Case{u"abc", u"abcd", false}));

TEST(LikePattern, UnclosedBracketIsAnInvalidPattern) {
    for (const char16_t* p : {u"[AB", u"AB[", u"[!%"}) {
        try {
            LikePattern{p};
            ADD_FAILURE() << "accepted an unclosed list";
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.category(), jet::ErrorCategory::InvalidArgument);
            EXPECT_STREQ(e.what(), "Invalid pattern string.");
        }
    }
}

TEST(LikePattern, LiteralPrefixStopsAtTheFirstWildcard) {
    EXPECT_EQ(LikePattern(u"BOS 09%").literalPrefix(), u"BOS 09");
    EXPECT_EQ(LikePattern(u"AB_1%").literalPrefix(), u"AB");
    EXPECT_EQ(LikePattern(u"%BOS").literalPrefix(), u"");
    EXPECT_EQ(LikePattern(u"[AB]1").literalPrefix(), u"");
}

}  // namespace
