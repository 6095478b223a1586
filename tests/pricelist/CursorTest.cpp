// The move rules the price labels depend on, on a bare row count: which
// requests are carried out (and so notify) and where the cursor then stands.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "pricelist/Cursor.h"

namespace dorvak {
namespace {

struct Step {
    std::string request;
    bool carriedOut;
    long long recNo;
    bool bof;
    bool eof;
};

void play(Cursor& cursor, const std::vector<Step>& steps) {
    for (const Step& s : steps) {
        bool done = false;
        const std::string& r = s.request;
        if (r == "first") {
            done = cursor.first();
        } else if (r == "last") {
            done = cursor.last();
        } else if (r == "delete") {
            done = cursor.removeCurrent();
        } else if (r.rfind("go", 0) == 0) {
            done = cursor.setRecNo(std::stoll(r.substr(2)));
        } else {
            done = cursor.moveBy(std::stoll(r));
        }
        SCOPED_TRACE("request " + r);
        EXPECT_EQ(done, s.carriedOut);
        EXPECT_EQ(cursor.recNo(), s.recNo);
        EXPECT_EQ(cursor.bof(), s.bof);
        EXPECT_EQ(cursor.eof(), s.eof);
    }
}

TEST(Cursor, OpenStandsOnTheFirstRowAtBeginningAndEmptyStandsAtBoth) {
    Cursor c;
    EXPECT_TRUE(c.open(3));
    EXPECT_EQ(c.recNo(), 1);
    EXPECT_TRUE(c.bof());
    EXPECT_FALSE(c.eof());
    EXPECT_TRUE(c.open(0));
    EXPECT_EQ(c.recNo(), 0);
    EXPECT_FALSE(c.hasCurrent());
    EXPECT_TRUE(c.bof());
    EXPECT_TRUE(c.eof());
}

TEST(Cursor, BackwardMoveStraightAfterOpenIsRefused) {
    Cursor c;
    c.open(3);
    play(c, {{"-1", false, 1, true, false}, {"0", false, 1, true, false}});
}

TEST(Cursor, ForwardMoveIntoTheEndNotifiesOnceThenIsRefusedUntilAMoveBack) {
    Cursor c;
    c.open(3);
    play(c, {
                {"1", true, 2, false, false},
                {"1", true, 3, false, false},  // lands on the last row: no mark yet
                {"1", true, 3, false, true},   // runs into the end: same row, still notifies
                {"1", false, 3, false, true},
                {"5", false, 3, false, true},
                {"-1", true, 2, false, false},
                {"1", true, 3, false, false},
            });
}

TEST(Cursor, BackwardMoveIntoTheBeginningNotifiesOnceThenIsRefused) {
    Cursor c;
    c.open(3);
    play(c, {
                {"2", true, 3, false, false},
                {"-2", true, 1, false, false},
                {"-1", true, 1, true, false},
                {"-1", false, 1, true, false},
                {"1", true, 2, false, false},
            });
}

TEST(Cursor, LongMovesStopAtTheEndTheyRunInto) {
    Cursor c;
    c.open(5);
    play(c, {
                {"100", true, 5, false, true},
                {"-100", true, 1, true, false},
                {"4", true, 5, false, false},
                {"-4", true, 1, false, false},
            });
}

TEST(Cursor, FirstAndLastAreCarriedOutAlsoWhenAlreadyThere) {
    Cursor c;
    c.open(3);
    play(c, {
                {"first", true, 1, true, false},
                {"first", true, 1, true, false},
                {"1", true, 2, false, false},  // a carried-out request clears the marks
                {"last", true, 3, false, true},
                {"last", true, 3, false, true},
                {"1", false, 3, false, true},
                {"first", true, 1, true, false},
                {"-1", false, 1, true, false},
            });
}

TEST(Cursor, RecordNumberIsCarriedOutOnlyWhenItDiffersAndExists) {
    Cursor c;
    c.open(4);
    play(c, {
                {"go1", false, 1, true, false},
                {"go3", true, 3, false, false},
                {"go3", false, 3, false, false},
                {"go0", false, 3, false, false},
                {"go5", false, 3, false, false},
                {"last", true, 4, false, true},
                {"go2", true, 2, false, false},
            });
}

TEST(Cursor, RemovingMakesTheFollowingRowCurrentElseThePreviousElseNone) {
    Cursor c;
    c.open(3);
    play(c, {
                {"go2", true, 2, false, false},
                {"delete", true, 2, false, false},  // the old third row moved up
                {"delete", true, 1, false, false},  // the last went: the one before it
                {"delete", true, 0, true, true},
                {"delete", false, 0, true, true},
                {"1", false, 0, true, true},
                {"-1", false, 0, true, true},
            });
    EXPECT_EQ(c.rowCount(), 0u);
}

TEST(Cursor, RemovingTheFirstRowClearsAtBeginning) {
    Cursor c;
    c.open(2);
    play(c, {{"delete", true, 1, false, false}, {"-1", true, 1, true, false}});
}

TEST(Cursor, AnEmptyResultRefusesMovesButTakesFirstAndLast) {
    Cursor c;
    c.open(0);
    play(c, {
                {"1", false, 0, true, true},
                {"-1", false, 0, true, true},
                {"go1", false, 0, true, true},
                {"first", true, 0, true, true},
                {"last", true, 0, true, true},
            });
}

TEST(Cursor, AClosedCursorCarriesOutNothing) {
    Cursor c;
    c.open(3);
    c.close();
    EXPECT_FALSE(c.isOpen());
    EXPECT_FALSE(c.moveBy(1));
    EXPECT_FALSE(c.first());
    EXPECT_FALSE(c.last());
    EXPECT_FALSE(c.setRecNo(1));
    EXPECT_FALSE(c.removeCurrent());
    EXPECT_EQ(c.recNo(), 0);
}

}  // namespace
}  // namespace dorvak
