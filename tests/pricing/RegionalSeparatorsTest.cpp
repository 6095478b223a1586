#include "pricing/RegionalSeparators.h"

#include "pricing/NumberSeparators.h"

#include <QCoreApplication>
#include <QEvent>
#include <QLocale>
#include <gtest/gtest.h>

namespace dorvak {
namespace {

class RegionalSeparatorsTest : public ::testing::Test {
protected:
    void TearDown() override { SetNumberSeparators(".", ","); }
};

TEST_F(RegionalSeparatorsTest, CroatianSettingsGiveCommaAndPoint) {
    RegionalSeparators::apply(QLocale(QLocale::Croatian, QLocale::Croatia));
    EXPECT_EQ(DecimalSeparator(), ",");
    EXPECT_EQ(ThousandsSeparator(), ".");
    RegionalSeparators::apply(QLocale("hr_HR"));
    EXPECT_EQ(DecimalSeparator(), ",");
    EXPECT_EQ(ThousandsSeparator(), ".");
}

TEST_F(RegionalSeparatorsTest, SymbolsOtherThanOneCharacterFallBack) {
    struct Case {
        const char* decimal;
        const char* thousands;
        const char* expectedDecimal;
        const char* expectedThousands;
    };
    const Case cases[] = {
        {"", "", ".", ","},
        {",,", "ab", ".", ","},
        {"\xc2", "\xa0", ".", ","},  // broken UTF-8
        {"\xd9\xab", "\xc2\xa0", "\xd9\xab", "\xc2\xa0"},
        {",", ".", ",", "."},
    };
    for (const auto& c : cases) {
        SetNumberSeparators(c.decimal, c.thousands);
        EXPECT_EQ(DecimalSeparator(), c.expectedDecimal) << c.decimal;
        EXPECT_EQ(ThousandsSeparator(), c.expectedThousands) << c.thousands;
    }
}

TEST_F(RegionalSeparatorsTest, ReReadsTheSystemOnALocaleChange) {
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    const QLocale system = QLocale::system();
    RegionalSeparators::apply(system);
    const std::string decimal = DecimalSeparator();
    const std::string thousands = ThousandsSeparator();

    {
        RegionalSeparators watcher(&app);
        SetNumberSeparators("x", "y");
        QEvent change(QEvent::LocaleChange);
        QCoreApplication::sendEvent(&app, &change);
        EXPECT_EQ(DecimalSeparator(), decimal);
        EXPECT_EQ(ThousandsSeparator(), thousands);
    }

    // Once the watcher is gone, a change no longer touches the separators.
    SetNumberSeparators("x", "y");
    QEvent change(QEvent::LocaleChange);
    QCoreApplication::sendEvent(&app, &change);
    EXPECT_EQ(DecimalSeparator(), "x");
}

}  // namespace
}  // namespace dorvak
