#include <gtest/gtest.h>

#include "app/ApplicationTitle.h"

namespace {

struct TitleCase {
    const char* path;
    const char* title;
};

class ApplicationTitleTest : public testing::TestWithParam<TitleCase> {};

TEST_P(ApplicationTitleTest, KeepsTheNameBeforeTheFirstDotWithTheRestLowerCased) {
    EXPECT_EQ(dorvak::ApplicationTitle(QString::fromUtf8(GetParam().path)),
              QString::fromUtf8(GetParam().title));
}

INSTANTIATE_TEST_SUITE_P(
    Names, ApplicationTitleTest,
    testing::Values(TitleCase{"/usr/bin/Dorvak", "Dorvak"},
                    TitleCase{"/opt/PARTS.LIST.EXE", "Parts"}, TitleCase{"PRICES.EXE", "Prices"},
                    TitleCase{"/home/ana/My.Price.List.exe", "My"},
                    // Only the last "/" counts; dots in folders do not cut.
                    TitleCase{"/home/ana.b/bin.d/DORVAK", "Dorvak"},
                    // The first character is kept as it is, even lower case.
                    TitleCase{"/x/dORVAK", "dorvak"}, TitleCase{"/x/ČŠŽ-CIJENE", "Čšž-cijene"},
                    TitleCase{"/x/.hidden", ""}, TitleCase{"/x/", ""}, TitleCase{"A", "A"}));

}  // namespace
