#include <gtest/gtest.h>

#include "ui/ErrorBox.h"

namespace {

struct StopCase {
    const char* message;
    const char* shown;
};

class ErrorBoxFullStopTest : public testing::TestWithParam<StopCase> {};

TEST_P(ErrorBoxFullStopTest, AddsAFullStopOnlyAfterCharactersAboveIt) {
    EXPECT_EQ(dorvak::ErrorBox::withFullStop(QString::fromUtf8(GetParam().message)),
              QString::fromUtf8(GetParam().shown));
}

INSTANTIATE_TEST_SUITE_P(
    Messages, ErrorBoxFullStopTest,
    testing::Values(StopCase{"", ""}, StopCase{"Record not found", "Record not found."},
                    StopCase{"Delete record?", "Delete record?."},
                    StopCase{"JPEG error #53", "JPEG error #53."}, StopCase{"Done.", "Done."},
                    StopCase{"Cannot open (locked)", "Cannot open (locked)"},
                    StopCase{"Stop!", "Stop!"}, StopCase{"quoted \"x\"", "quoted \"x\""},
                    StopCase{"trailing blank ", "trailing blank "}, StopCase{"line\n", "line\n"},
                    StopCase{"a-", "a-"}, StopCase{"a,", "a,"}, StopCase{"100%", "100%"},
                    // Just above the full stop: "/" and digits get one.
                    StopCase{"a/", "a/."}, StopCase{"Greška: šifra Ž", "Greška: šifra Ž."}));

}  // namespace
