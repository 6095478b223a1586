// The journal's promise: whatever fails or crashes where, the file reads as
// before or as after the write, and a failed writer refuses to go on.
#include <gtest/gtest.h>

#include <random>

#include "jet/Error.h"
#include "jet/detail/Format.h"
#include "jet/detail/Journal.h"
#include "support/FaultInjectingPageFile.h"

using namespace jet;
using namespace jet::detail;
using jet::test::FaultInjectingPageFile;
using jet::test::FaultPlan;
using jet::test::MemoryJournalFileSystem;
using jet::test::SimulatedCrash;

namespace {

constexpr std::size_t kPages = 8;
const std::string kDb = "/db/Dorvak.mdb";

std::vector<std::uint8_t> page(std::uint8_t fill) {
    return std::vector<std::uint8_t>(format::kPageSize, fill);
}

std::vector<std::uint8_t> fileOf(const std::vector<std::uint8_t>& fills) {
    std::vector<std::uint8_t> bytes;
    for (auto f : fills) {
        auto p = page(f);
        bytes.insert(bytes.end(), p.begin(), p.end());
    }
    return bytes;
}

struct Scenario {
    std::vector<std::uint8_t> before = fileOf({0, 1, 2, 3, 4, 5, 6, 7});
    std::vector<std::uint8_t> after = fileOf({0, 0x11, 2, 0x33, 4, 5, 6, 0x77});
    PageChanges changes;
    Scenario() {
        changes.stage(1, page(1), page(0x11));
        changes.stage(3, page(3), page(0x33));
        changes.stage(7, page(7), page(0x77));
    }
};

// Restarts after a crash at the plan's current state and recovers.
std::vector<std::uint8_t> restartAndRecover(FaultInjectingPageFile& db, MemoryJournalFileSystem& fs,
                                            unsigned seed) {
    std::mt19937 rng(seed);
    auto dbImage = db.crashImage(rng);
    auto journals = fs.crashImage(rng);
    FaultPlan fresh;
    FaultInjectingPageFile reopened(dbImage, fresh);
    MemoryJournalFileSystem restartedFs(fresh);
    restartedFs.restore(journals);
    recoverJournal(kDb, reopened, restartedFs);
    EXPECT_FALSE(restartedFs.exists(journalPath(kDb)));
    return reopened.current();
}

}  // namespace

TEST(Journal, CommitWritesEveryPageAndLeavesNoJournal) {
    Scenario s;
    FaultPlan plan;
    FaultInjectingPageFile db(s.before, plan);
    MemoryJournalFileSystem fs(plan);
    Journal journal(kDb, db, fs);
    journal.commit(s.changes);
    EXPECT_EQ(db.current(), s.after);
    EXPECT_FALSE(fs.exists(journalPath(kDb)));
    EXPECT_EQ(journal.state(), Journal::State::Idle);
}

TEST(Journal, ACrashAtAnyPointLeavesTheFileBeforeOrAfter) {
    Scenario s;
    FaultPlan counting;
    {
        FaultInjectingPageFile db(s.before, counting);
        MemoryJournalFileSystem fs(counting);
        Journal(kDb, db, fs).commit(s.changes);
    }
    const int points = counting.points();
    ASSERT_GT(points, 5);
    int sawBefore = 0, sawAfter = 0;
    // One target past the last point: the power goes after the commit returned.
    for (int target = 0; target <= points; ++target) {
        for (bool tear : {false, true}) {
            for (unsigned seed = 0; seed < 8; ++seed) {
                FaultPlan plan;
                plan.arm(target, FaultPlan::Mode::Crash, tear);
                FaultInjectingPageFile db(s.before, plan);
                MemoryJournalFileSystem fs(plan);
                Journal journal(kDb, db, fs);
                if (target < points)
                    EXPECT_THROW(journal.commit(s.changes), SimulatedCrash);
                else
                    journal.commit(s.changes);
                auto bytes = restartAndRecover(db, fs, seed * 31 + target);
                bool isBefore = bytes == s.before, isAfter = bytes == s.after;
                EXPECT_TRUE(isBefore || isAfter) << "crash at point " << target << " tear " << tear
                                                 << " seed " << seed;
                sawBefore += isBefore;
                sawAfter += isAfter;
            }
        }
    }
    // Both outcomes must occur, or the loop did not reach both sides of the commit point.
    EXPECT_GT(sawBefore, 0);
    EXPECT_GT(sawAfter, 0);
}

TEST(Journal, AnIoErrorLeavesTheFileAsBeforeAndFailureIsStickyOnceTheFileWasTouched) {
    Scenario s;
    FaultPlan counting;
    {
        FaultInjectingPageFile db(s.before, counting);
        MemoryJournalFileSystem fs(counting);
        Journal(kDb, db, fs).commit(s.changes);
    }
    for (int target = 0; target < counting.points(); ++target) {
        FaultPlan plan;
        plan.arm(target, FaultPlan::Mode::FailIo);
        FaultInjectingPageFile db(s.before, plan);
        MemoryJournalFileSystem fs(plan);
        Journal journal(kDb, db, fs);
        try {
            journal.commit(s.changes);
            ADD_FAILURE() << "no error at point " << target;
        } catch (const Error& e) {
            EXPECT_EQ(e.category(), ErrorCategory::Io);
        }
        EXPECT_EQ(db.current(), s.before) << "point " << target;
        // Before the database is touched a retry is allowed; afterwards never.
        bool touched = journal.failed();
        if (touched) {
            EXPECT_THROW(journal.commit(s.changes), Error);
            EXPECT_EQ(db.current(), s.before);
        } else {
            EXPECT_EQ(journal.state(), Journal::State::Idle);
        }
        // Whatever is left on disk recovers to the original too.
        FaultPlan fresh;
        FaultInjectingPageFile reopened(db.current(), fresh);
        MemoryJournalFileSystem restartedFs(fresh);
        std::mt19937 rng(target);
        restartedFs.restore(fs.crashImage(rng));
        recoverJournal(kDb, reopened, restartedFs);
        EXPECT_EQ(reopened.current(), s.before) << "point " << target;
    }
}

TEST(Journal, ATornOrForeignJournalIsDiscardedWithoutTouchingTheFile) {
    Scenario s;
    // A complete journal of the originals, taken from a commit that crashed
    // right after the journal was flushed.
    FaultPlan plan;
    FaultInjectingPageFile db(s.before, plan);
    MemoryJournalFileSystem fs(plan);
    plan.arm(3, FaultPlan::Mode::Crash);  // write, sync, dir sync, then the first page write
    EXPECT_THROW(Journal(kDb, db, fs).commit(s.changes), SimulatedCrash);
    std::mt19937 rng(1);
    auto journals = fs.crashImage(rng);
    auto complete = journals.at(journalPath(kDb));
    ASSERT_GT(complete.size(), 3 * format::kPageSize);

    // A database whose pages differ from the journal's originals shows
    // whether the journal was applied.
    const auto current = s.after;
    struct Case {
        const char* what;
        std::vector<std::uint8_t> journal;
        bool applied;
    };
    auto flipped = complete;
    flipped[complete.size() - 100] ^= 0x01;
    std::vector<Case> cases = {
        {"complete", complete, true},
        {"cut inside the last record", {complete.begin(), complete.end() - 10}, false},
        {"a flipped byte in a record", flipped, false},
        {"only a header", {complete.begin(), complete.begin() + 36}, false},
        {"empty", {}, false},
        {"not a journal", std::vector<std::uint8_t>(9000, 'x'), false},
    };
    for (const auto& c : cases) {
        FaultPlan fresh;
        FaultInjectingPageFile reopened(current, fresh);
        MemoryJournalFileSystem restartedFs(fresh);
        restartedFs.restore({{journalPath(kDb), c.journal}});
        recoverJournal(kDb, reopened, restartedFs);
        EXPECT_EQ(reopened.current(), c.applied ? s.before : current) << c.what;
        EXPECT_FALSE(restartedFs.exists(journalPath(kDb))) << c.what;
    }
}
