#include "pricing/NumberText.h"

#include "pricing/FormatNumber.h"
#include "pricing/NumberSeparators.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace dorvak {
namespace {

// Croatian separators throughout, so that a stray "." or "," from the C
// library or the C locale shows up as a difference.
class NumberTextTest : public ::testing::Test {
protected:
    void SetUp() override { SetNumberSeparators(",", "."); }
    void TearDown() override { SetNumberSeparators(".", ","); }
};

TEST_F(NumberTextTest, ParsesValidTextExactlyInExtendedPrecision) {
    struct Case {
        const char* text;
        long double expected;
    };
    const std::vector<Case> cases = {
        {"12,5", 12.5L},   {" 12,5 ", 12.5L},
        {"+5", 5},         {"-5", -5},
        {",", 0},          {",5", 0.5L},
        {"5,", 5},         {"-,5", -0.5L},
        {"0,1", 0.1L},     {"0,00001", 1e-5L},
        {"1e", 1},         {"1E+2", 100},
        {"1e-2", 0.01L},   {"2,5e3", 2500},
        {",5E1", 5},       {"007", 7},
        {"1e400", 1e400L}, {"1e-4999", 0},
        {"0e499", 0},      {"123456789012345678901234567890", 123456789012345678901234567890.0L},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseFloat(c.text), c.expected) << c.text;
    }
    EXPECT_TRUE(std::signbit(ParseFloat("-0")));
}

TEST_F(NumberTextTest, RejectsAnythingElseNamingTheText) {
    const std::vector<std::string> cases = {
        "",  "   ", "abc", "1.000,5", "1,2,3",  "1.5",    "- 5",     "+-5",   "5%",   "\t5", "5\t",
        "+", "-",   "e5",  "1 000",   "1e5000", "1e4933", "12,5 kn", "1e+-2", "0x10", "inf", "nan",
    };
    for (const auto& text : cases) {
        try {
            ParseFloat(text);
            ADD_FAILURE() << "accepted '" << text << "'";
        } catch (const NumberFormatError& e) {
            EXPECT_EQ(std::string(e.what()), "'" + text + "' is not a valid floating point value");
        }
    }
    EXPECT_THROW(ParseFloat(std::string("5\0", 2)), NumberFormatError);
}

TEST_F(NumberTextTest, ParseDoubleRefusesValuesBeyondADouble) {
    EXPECT_EQ(ParseDouble("12,5"), 12.5);
    EXPECT_EQ(ParseDouble("1e-400"), 0.0);
    EXPECT_THROW(ParseDouble("1e400"), std::overflow_error);
    EXPECT_THROW(ParseDouble("-1e309"), std::overflow_error);
    EXPECT_THROW(ParseDouble("abc"), NumberFormatError);
}

TEST_F(NumberTextTest, FormatsTheGeneralFloatFormat) {
    struct Case {
        double value;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0, "0"},
        {-0.0, "0"},
        {12.5, "12,5"},
        {-12.5, "-12,5"},
        {0.1 + 0.2, "0,3"},
        {1.0 / 3, "0,333333333333333"},
        {2.0 / 3, "0,666666666666667"},
        {1e12, "1000000000000"},
        {1e14, "100000000000000"},
        {1e15, "1E15"},
        {999999999999999.9, "1E15"},
        {1.5e20, "1,5E20"},
        {123456789012345678.0, "1,23456789012346E17"},
        {0.0001, "0,0001"},
        {0.00012345, "0,00012345"},
        {0.00001, "1E-5"},
        {-0.00001, "-1E-5"},
        {1e-300, "1E-300"},
        {5e-324, "4,94065645841247E-324"},
        {DBL_MAX, "1,79769313486232E308"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatGeneral(c.value), c.expected) << c.value;
    }
}

TEST_F(NumberTextTest, FormatNumberFollowsItsPictures) {
    struct Case {
        double value;
        const char* mode1;
        const char* mode2;
        const char* hash0;
        const char* zeros;
    };
    const std::vector<Case> cases = {
        {0, "0,00", "0,00", "0", "00"},
        {0.005, "0,01", "0,01", "0", "00"},
        {-0.004, "0,00", "0,00", "0", "00"},
        {0.5, "0,50", "0,50", "1", "01"},
        {-0.5, "-0,50", "-0,50", "-1", "-01"},
        {5, "5,00", "5,00", "5", "05"},
        {1234.5, "1234,50", "1.234,50", "1235", "1235"},
        {-1234.567, "-1234,57", "-1.234,57", "-1235", "-1235"},
        {1e12, "1000000000000,00", "1.000.000.000.000,00", "1000000000000", "1000000000000"},
        {1e18, "1E18", "1E18", "1E18", "1E18"},
        {1.5e20, "1,5E20", "1,5E20", "1,5E20", "1,5E20"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(1, 2, c.value), c.mode1) << c.value;
        EXPECT_EQ(FormatNumber(2, 2, c.value), c.mode2) << c.value;
        EXPECT_EQ(FormatNumber(1, 0, c.value), c.hash0) << c.value;
        EXPECT_EQ(FormatNumber(2, -1, c.value), c.hash0) << c.value;
        EXPECT_EQ(FormatNumber(3, 2, c.value), c.zeros) << c.value;
    }
    EXPECT_EQ(FormatNumber(1, 3, 1.0625), "1,063");
    EXPECT_EQ(FormatNumber(0, 1, 7.25), "7");
}

TEST_F(NumberTextTest, RoundsTheEighteenDigitExpansionHalfUp) {
    struct Case {
        double value;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {0.125, "0,13"},
        {-0.125, "-0,13"},
        {0.005, "0,01"},
        {-0.005, "-0,01"},
        {2.675, "2,67"},  // stored just below the half
        {1.005, "1,00"},  // likewise
        {0.12499999999999999, "0,12"},
        // Stored as ...00499999523, whose 18-digit expansion is ...005000000:
        // the half found there rounds up.
        {1004364357.005, "1004364357,01"},
        {9.995, "9,99"},
        {99.995, "100,00"},  // 99.9950000000000045...: the carry adds a digit
        {1234567.891, "1234567,89"},
        {999999999999999872.0, "999999999999999872,00"},  // all 18 digits, below 10^18
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatNumber(1, 2, c.value), c.expected) << c.value;
    }
}

TEST_F(NumberTextTest, AgreesWithExactDecimalArithmetic) {
    // Expected texts worked out independently with exact decimal arithmetic
    // (18-digit expansion, ties to even, then half up), over money-like
    // amounts, half-cent amounts and values of every magnitude.
    struct Case {
        double value;
        const char* grid;
        const char* general;
    };
    const std::vector<Case> cases = {
        {347712.783, "347.712,78", "347712,783"},
        {-2.1035300715365303e-06, "0,00", "-2,10353007153653E-6"},
        {-402777.665, "-402.777,66", "-402777,665"},
        {46.5965, "46,60", "46,5965"},
        {62275.87, "62.275,87", "62275,87"},
        {-9250086.831160303, "-9.250.086,83", "-9250086,8311603"},
        {61261.165, "61.261,17", "61261,165"},
        {30.0925, "30,09", "30,0925"},
        {591682.4890000001, "591.682,49", "591682,489"},
        {-881778987842.0217, "-881.778.987.842,02", "-881778987842,022"},
        {-333835.83, "-333.835,83", "-333835,83"},
        {9551.9705, "9.551,97", "9551,9705"},
        {66423.87400000001, "66.423,87", "66423,874"},
        {-9.00821373220457, "-9,01", "-9,00821373220457"},
        {-437477.785, "-437.477,78", "-437477,785"},
        {296.4295, "296,43", "296,4295"},
        {154892.714, "154.892,71", "154892,714"},
        {14182737929.346878, "14.182.737.929,35", "14182737929,3469"},
        {415368.525, "415.368,53", "415368,525"},
        {105.5955, "105,60", "105,5955"},
        {613326.043, "613.326,04", "613326,043"},
        {-25520491454.853756, "-25.520.491.454,85", "-25520491454,8538"},
        {455778.89, "455.778,89", "455778,89"},
        {72.0615, "72,06", "72,0615"},
        {664656.493, "664.656,49", "664656,493"},
        {-717100977.3016435, "-717.100.977,30", "-717100977,301643"},
        {73904.675, "73.904,68", "73904,675"},
        {488218.5995, "488.218,60", "488218,5995"},
        {991537.639, "991.537,64", "991537,639"},
        {-2.7683528811086733, "-2,77", "-2,76835288110867"},
        {-258721.155, "-258.721,15", "-258721,155"},
        {1341.5885, "1.341,59", "1341,5885"},
        {322390.043, "322.390,04", "322390,043"},
        {7.502749911468578e+16, "75.027.499.114.685.776,00", "7,50274991146858E16"},
        {102415.055, "102.415,05", "102415,055"},
        {79817.0745, "79.817,07", "79817,0745"},
        {126772.17, "126.772,17", "126772,17"},
        {-6700.757927128536, "-6.700,76", "-6700,75792712854"},
        {-296009.815, "-296.009,82", "-296009,815"},
        {56599395.0405, "56.599.395,04", "56599395,0405"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFloat("#,##0.00", c.value), c.grid) << c.value;
        EXPECT_EQ(FormatGeneral(c.value), c.general) << c.value;
    }
}

TEST_F(NumberTextTest, PicturesGroupAndPlaceDigits) {
    struct Case {
        const char* picture;
        double value;
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"#,##0.00", 1234567.891, "1.234.567,89"},
        {"#,##0.00", 1234.5, "1.234,50"},
        {"#,##0.00", 999.999, "1.000,00"},
        {"#,##0.00", -0.001, "0,00"},
        {"#,##0.00", 123, "123,00"},
        {"0.##", 1.5, "1,5"},
        {"0.##", 2, "2"},
        {"0.0#", 1.234, "1,23"},
        {"000.0", 1.25, "001,3"},
        {"#.00", 0.5, ",50"},
        {"#", 0, ""},
        {"0.00.0", 1.5, "1,500"},
        {"#,##0.00", std::numeric_limits<double>::infinity(), "INF"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFloat(c.picture, c.value), c.expected) << c.picture << " " << c.value;
    }
}

TEST_F(NumberTextTest, UsesTheCurrentSeparatorsEvenWhenWide) {
    SetNumberSeparators("\xd9\xab", "\xc2\xa0");  // Arabic decimal mark, no-break space
    EXPECT_EQ(ParseFloat("1\xd9\xab"
                         "5"),
              1.5L);
    EXPECT_THROW(ParseFloat("1,5"), NumberFormatError);
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5),
              "1\xc2\xa0"
              "234\xd9\xab"
              "50");
    EXPECT_EQ(FormatGeneral(0.5),
              "0\xd9\xab"
              "5");
}

}  // namespace
}  // namespace dorvak
