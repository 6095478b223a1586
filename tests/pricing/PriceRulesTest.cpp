#include "pricing/PriceRules.h"

#include "pricing/NumberSeparators.h"
#include "pricing/Percentages.h"
#include "settings/IniFile.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace dorvak {
namespace {

class PriceRulesTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "dorvak-price-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        SetSettingsDirectoryForTesting(dir_.string());
        SetNumberSeparators(",", ".");
        DiscountPercent = 0;
        VatPercent = 0;
    }
    void TearDown() override {
        SetSettingsDirectoryForTesting("");
        SetNumberSeparators(".", ",");
        DiscountPercent = 0;
        VatPercent = 0;
        fs::remove_all(dir_);
    }

    fs::path file() const { return dir_ / "Set.ini"; }

    void writeIni(const std::string& content) const {
        std::ofstream out(file(), std::ios::binary | std::ios::trunc);
        out << content;
    }

    std::string readIni() const {
        std::ifstream in(file(), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }

    struct Labels {
        std::vector<std::string> calls;  // in order: "net:<text>", "retail:<text>"
    };

    Labels update(double listPrice) const {
        Labels labels;
        UpdatePrices(
            listPrice, [&](const std::string& t) { labels.calls.push_back("net:" + t); },
            [&](const std::string& t) { labels.calls.push_back("retail:" + t); });
        return labels;
    }

    fs::path dir_;
};

TEST_F(PriceRulesTest, LoadsEachPercentageOnItsOwn) {
    struct Case {
        const char* what;
        const char* content;  // nullptr: no file
        double discount;
        double vat;
        const char* box;
    };
    const std::vector<Case> cases = {
        {"no file", nullptr, 0, 0, "0"},
        {"both", "[Postavke]\nRabat=12,5\nPDV=25\n", 12.5, 25, "12,5"},
        {"blanks around", "[Postavke]\nRabat=  12,5  \n", 12.5, 0, "12,5"},
        {"tiny discount", "[Postavke]\nRabat=0,00001\n", 0.00001, 0, "1E-5"},
        {"VAT beyond a double", "[Postavke]\nRabat=3\nPDV=1e400\n", 3, 0, "3"},
        {"point on a comma system", "[Postavke]\nRabat=12.5\nPDV=25\n", 0, 25, "0"},
        {"bad discount keeps the VAT", "[Postavke]\nRabat=abc\nPDV=25\n", 0, 25, "0"},
        {"empty values", "[Postavke]\nRabat=\nPDV=\n", 0, 0, "0"},
        {"negative", "[Postavke]\nRabat=-5\n", -5, 0, "-5"},
    };
    for (const auto& c : cases) {
        fs::remove(file());
        if (c.content) writeIni(c.content);
        DiscountPercent = 99;
        VatPercent = 99;
        EXPECT_EQ(LoadPercentSettings(), c.box) << c.what;
        EXPECT_EQ(DiscountPercent, c.discount) << c.what;
        EXPECT_EQ(VatPercent, c.vat) << c.what;
    }
}

TEST_F(PriceRulesTest, CommitSavesTheTextAsTyped) {
    EXPECT_EQ(CommitDiscount(" 12,5 "), std::nullopt);
    EXPECT_EQ(DiscountPercent, 12.5);
    EXPECT_EQ(readIni(), "[Postavke]\nRabat= 12,5 \n");
    EXPECT_EQ(LoadPercentSettings(), "12,5");

    EXPECT_EQ(CommitDiscount(","), std::nullopt);
    EXPECT_EQ(DiscountPercent, 0);
    EXPECT_EQ(readIni(), "[Postavke]\nRabat=,\n");

    EXPECT_EQ(CommitDiscount("150"), std::nullopt);
    EXPECT_EQ(DiscountPercent, 150);
}

TEST_F(PriceRulesTest, RejectedCommitResetsAndKeepsTheFile) {
    const std::string before = "[Postavke]\r\nRabat=7\r\nPDV=25\r\n";
    for (const char* text : {"", "abc", "1.000,5", "12.5", "1e400", "12,5%"}) {
        writeIni(before);
        DiscountPercent = 7;
        EXPECT_EQ(CommitDiscount(text), std::optional<std::string>("0")) << text;
        EXPECT_EQ(DiscountPercent, 0) << text;
        EXPECT_EQ(readIni(), before) << text;
    }
}

TEST_F(PriceRulesTest, RefusedSaveResetsTheDiscount) {
    fs::create_directory(file());
    DiscountPercent = 7;
    EXPECT_EQ(CommitDiscount("12,5"), std::optional<std::string>("0"));
    EXPECT_EQ(DiscountPercent, 0);
}

TEST_F(PriceRulesTest, DerivesNetAndRetailPrices) {
    struct Case {
        double price;
        double discount;
        double vat;
        const char* net;
        const char* retail;
    };
    const std::vector<Case> cases = {
        {100, 10, 25, "90,00", "112,50"},
        {0, 10, 25, "0,00", "0,00"},
        {2.675, 0, 0, "2,67", "2,67"},
        {100, 150, 25, "-50,00", "-62,50"},
        {1234567.891, 0, 0, "1234567,89", "1234567,89"},
        // Exactly 60171.255 in decimals: the extended product lies below the
        // half, the double product above it.
        {66195, 9.1, 25, "60171,25", "75214,07"},
        {42440, 17.05, 25, "35203,98", "44004,97"},
        {1e30, 0, 0, "1E30", "1E30"},
    };
    for (const auto& c : cases) {
        DiscountPercent = c.discount;
        VatPercent = c.vat;
        Labels labels = update(c.price);
        EXPECT_EQ(labels.calls, (std::vector<std::string>{std::string("net:") + c.net,
                                                          std::string("retail:") + c.retail}))
            << c.price;
    }
}

TEST_F(PriceRulesTest, AFailureLeavesTheLaterLabelsAlone) {
    DiscountPercent = 0;
    VatPercent = 100;
    EXPECT_EQ(update(1e308).calls, std::vector<std::string>{"net:1E308"});

    DiscountPercent = -1e10;
    EXPECT_TRUE(update(1e308).calls.empty());

    bool retailCalled = false;
    EXPECT_NO_THROW(UpdatePrices(
        1, [](const std::string&) { throw std::runtime_error("label gone"); },
        [&](const std::string&) { retailCalled = true; }));
    EXPECT_FALSE(retailCalled);
}

}  // namespace
}  // namespace dorvak
