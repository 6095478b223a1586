// A delete interrupted anywhere — an I/O error, a power cut at any write or
// flush with unflushed writes kept, dropped or torn, a killed process —
// leaves the file reading exactly as before or exactly as after.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <random>
#include <thread>

#include "TestFiles.h"
#include "jet/Database.h"
#include "jet/Error.h"
#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/Journal.h"
#include "jet/detail/RowDeleter.h"
#include "support/FaultInjectingPageFile.h"

using namespace jet;
using namespace jet::detail;
using jet::test::FaultInjectingPageFile;
using jet::test::FaultPlan;
using jet::test::MemoryJournalFileSystem;
using jet::test::SimulatedCrash;
using jettest::TempDir;

namespace {

const std::string kPath = "/nonexistent-dorvak-test/Dorvak.mdb";

bool longRun() { return std::getenv("DORVAK_LONG_TESTS") != nullptr; }

std::vector<std::uint8_t> readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::uint8_t> bigFixture() {
    static std::vector<std::uint8_t> bytes = [] {
        TempDir dir;
        std::string out = (dir.path() / "big.mdb").string();
        std::string cmd = "gunzip -c '" + jettest::fixture("big/Dorvak-100k.mdb.gz").string() + "' > '" + out + "'";
        if (std::system(cmd.c_str()) != 0) return std::vector<std::uint8_t>{};
        return readFile(out);
    }();
    return bytes;
}

struct Memory {
    std::shared_ptr<FaultInjectingPageFile> file;
    std::unique_ptr<DatabaseImpl> db;
    Memory(const std::vector<std::uint8_t>& bytes, FaultPlan& plan)
        : file(std::make_shared<FaultInjectingPageFile>(bytes, plan)),
          db(std::make_unique<DatabaseImpl>(kPath, jet::test::share(file))) {}
};

struct CrashCounts {
    int runs = 0, before = 0, after = 0;
};

// Deletes row `row` of `table` from `before` with the plan armed at every
// point in turn, and checks what a restart finds.
CrashCounts crashEverywhere(const std::vector<std::uint8_t>& before, std::size_t row, int seeds) {
    CrashCounts counts;
    FaultPlan counting;
    Memory clean(before, counting);
    MemoryJournalFileSystem cleanFs(counting);
    ResultSet snapshot = clean.db->readTable("Dorvak");
    ResultSet rs = snapshot;
    deleteRowInFile(*clean.db, rs, row, cleanFs);
    const auto after = clean.file->current();
    EXPECT_EQ(clean.db->check(), std::vector<std::string>{});
    const int points = counting.points();

    for (int target = 0; target <= points; ++target) {
        for (bool tear : {false, true}) {
            for (int seed = 0; seed < seeds; ++seed) {
                FaultPlan plan;
                plan.arm(target, FaultPlan::Mode::Crash, tear);
                Memory m(before, plan);
                MemoryJournalFileSystem fs(plan);
                ResultSet copy = snapshot;
                try {
                    deleteRowInFile(*m.db, copy, row, fs);
                } catch (const SimulatedCrash&) {
                }
                std::mt19937 rng(unsigned(target * 977 + seed * 31 + tear));
                auto image = m.file->crashImage(rng);
                auto journals = fs.crashImage(rng);
                m.db.reset();

                FaultPlan fresh;
                FaultInjectingPageFile restarted(image, fresh);
                MemoryJournalFileSystem restartedFs(fresh);
                restartedFs.restore(journals);
                recoverJournal(kPath, restarted, restartedFs);
                bool isBefore = restarted.current() == before, isAfter = restarted.current() == after;
                EXPECT_TRUE(isBefore || isAfter)
                    << "crash at point " << target << " of " << points << ", tear " << tear << ", seed " << seed;
                ++counts.runs;
                counts.before += isBefore;
                counts.after += isAfter;
            }
        }
    }
    return counts;
}

// Every failing point: the error reaches the caller, the row stays in the
// result, the file is as before, and once the file was touched the writer
// refuses to go on.
void failEverywhere(const std::vector<std::uint8_t>& before, std::size_t row) {
    FaultPlan counting;
    Memory clean(before, counting);
    MemoryJournalFileSystem cleanFs(counting);
    ResultSet snapshot = clean.db->readTable("Dorvak");
    ResultSet rs = snapshot;
    deleteRowInFile(*clean.db, rs, row, cleanFs);
    const int points = counting.points();
    for (int target = 0; target < points; ++target) {
        FaultPlan plan;
        plan.arm(target, FaultPlan::Mode::FailIo);
        Memory m(before, plan);
        MemoryJournalFileSystem fs(plan);
        ResultSet copy = snapshot;
        EXPECT_THROW(deleteRowInFile(*m.db, copy, row, fs), Error) << "point " << target;
        EXPECT_EQ(copy.rowCount(), snapshot.rowCount());
        EXPECT_TRUE(m.file->current() == before) << "point " << target;
        if (journalFor(*m.db, fs).failed()) {
            try {
                deleteRowInFile(*m.db, copy, row, fs);
                ADD_FAILURE() << "a failed writer wrote again, point " << target;
            } catch (const Error& e) {
                EXPECT_EQ(e.category(), ErrorCategory::Io);
            }
        } else {
            // Nothing was touched: the same delete may simply be tried again.
            deleteRowInFile(*m.db, copy, row, fs);
            EXPECT_EQ(copy.rowCount(), snapshot.rowCount() - 1);
        }
    }
}

}  // namespace

TEST(DeleteCrash, ACrashAtEveryWriteAndFlushOfADeleteOnTheBigFileLeavesBeforeOrAfter) {
    auto before = bigFixture();
    ASSERT_FALSE(before.empty());
    CrashCounts c = crashEverywhere(before, 54321, longRun() ? 8 : 2);
    EXPECT_GT(c.before, 0);
    EXPECT_GT(c.after, 0);
    RecordProperty("crash_runs", c.runs);
    std::printf("big file: %d crash runs, %d before, %d after\n", c.runs, c.before, c.after);
}

TEST(DeleteCrash, ACrashDuringACascadeOrAnEmptyingIndexLeavesBeforeOrAfter) {
    struct Case {
        const char* fixture;
        std::size_t row;
    };
    // Cascades write two tables; the edge file's last rows empty index pages.
    for (const Case& c : {Case{"relations/Dorvak-cascade.mdb", 0}, Case{"edge/Dorvak.mdb", 7}}) {
        auto before = jettest::fixtureBytes(c.fixture);
        // Find the row of the cascade file with orders.
        std::size_t row = c.row;
        if (std::string(c.fixture).find("cascade") != std::string::npos) {
            FaultPlan p;
            Memory m(before, p);
            ResultSet rs = m.db->readTable("Dorvak");
            for (std::size_t r = 0; r < rs.rowCount(); ++r)
                if (rs.text(r, std::size_t(rs.columnIndex("SIFRA"))) == u"VAL-232519") row = r;
        }
        CrashCounts counts = crashEverywhere(before, row, 4);
        EXPECT_GT(counts.after, 0) << c.fixture;
    }
}

TEST(DeleteCrash, AnIoErrorAtAnyPointLeavesTheFileAndTheResultAsBefore) {
    failEverywhere(jettest::fixtureBytes("edge/Dorvak.mdb"), 100);
    failEverywhere(bigFixture(), 777);
}

TEST(DeleteCrash, AProcessKilledWhileDeletingLeavesAConsistentFile) {
    const int rounds = longRun() ? 60 : 4;
    int journalsLeft = 0;
    std::mt19937 rng(7);
    TempDir dir;
    for (int round = 0; round < rounds; ++round) {
        std::string path = dir.copy("demo/Dorvak.mdb");
        std::map<std::pair<std::uint32_t, std::uint16_t>, std::u16string> original;
        {
            auto db = Database::open(path);
            ResultSet rs = db->readTable("Dorvak");
            for (std::size_t r = 0; r < rs.rowCount(); ++r)
                original[{rs.location(r).page, rs.location(r).row}] =
                    rs.text(r, 1) + u"|" + rs.text(r, 2) + u"|" + std::u16string(1, char16_t(rs.number(r, 3) * 100));
        }
        // A reader that has the file open through the crash must not see
        // the half-written pages either.
        auto reader = Database::open(path);
        pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                auto db = Database::open(path);
                ResultSet rs = db->readTable("Dorvak");
                std::mt19937 r{unsigned(round)};
                while (rs.rowCount() > 0) db->deleteRow(rs, r() % rs.rowCount());
            } catch (...) {
                ::_exit(3);
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(2000 + rng() % 60000));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << "the deleting child failed";

        bool hadJournal = std::filesystem::exists(path + "-journal");
        journalsLeft += hadJournal;
        EXPECT_EQ(reader->check(), std::vector<std::string>{}) << "round " << round;
        reader.reset();
        auto db = Database::open(path);
        EXPECT_EQ(db->check(), std::vector<std::string>{}) << "round " << round;
        ResultSet rs = db->readTable("Dorvak");
        for (std::size_t r = 0; r < rs.rowCount(); ++r) {
            auto it = original.find({rs.location(r).page, rs.location(r).row});
            ASSERT_NE(it, original.end());
            EXPECT_EQ(it->second, rs.text(r, 1) + u"|" + rs.text(r, 2) + u"|" +
                                      std::u16string(1, char16_t(rs.number(r, 3) * 100)));
        }
        EXPECT_FALSE(std::filesystem::exists(path + "-journal"));
    }
    std::printf("kill rounds: %d, %d left a journal\n", rounds, journalsLeft);
}

TEST(DeleteCrash, SearchesInOneProcessWhileAnotherDeletesSeeNoErrorsAndTheFileStaysConsistent) {
    TempDir dir;
    std::string path = dir.copy("demo/Dorvak.mdb");
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        int code = 0;
        try {
            auto db = Database::open(path);
            for (int i = 0; i < 150; ++i) {
                ResultSet rs = db->execute("select * from Dorvak\r\nwhere SIFRA like ?", {u"BOS%"});
                if (rs.rowCount() > 546 || rs.rowCount() < 546 - 40) code = 4;
            }
        } catch (...) {
            code = 5;
        }
        ::_exit(code);
    }
    {
        auto db = Database::open(path);
        ResultSet rs = db->execute("select * from Dorvak\r\nwhere SIFRA like ?", {u"BOS%"});
        for (int i = 0; i < 40; ++i) db->deleteRow(rs, std::size_t(i * 7) % rs.rowCount());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(Database::open(path)->check(), std::vector<std::string>{});
}
