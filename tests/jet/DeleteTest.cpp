// Deleting rows from real files: every other row and every index intact
// afterwards (by our own check and by mdbtools), refusals that change no
// byte, relationships, and Access's lock file.
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "TestFiles.h"
#include "jet/Database.h"
#include "jet/Error.h"

using namespace jet;
using jettest::TempDir;

namespace {

// Every cell of every row as text, keyed by location: what "every other row
// unchanged" is compared on.
std::map<std::pair<std::uint32_t, std::uint16_t>, std::vector<std::u16string>> contents(const ResultSet& rs) {
    std::map<std::pair<std::uint32_t, std::uint16_t>, std::vector<std::u16string>> out;
    for (std::size_t r = 0; r < rs.rowCount(); ++r) {
        std::vector<std::u16string> cells;
        for (std::size_t c = 0; c < rs.columns().size(); ++c) {
            Value v = rs.value(r, c);
            cells.push_back(rs.isNull(r, c) ? u"\u2400" : rs.text(r, c) + std::u16string(1, char16_t('0' + int(v.kind))) +
                                                              (v.kind == Value::Kind::Float ? std::u16string(1, char16_t(rs.number(r, c) * 1000)) : u""));
        }
        out[{rs.location(r).page, rs.location(r).row}] = std::move(cells);
    }
    return out;
}

std::vector<std::uint8_t> bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string run(const std::string& command) {
    std::string out;
    FILE* p = ::popen(command.c_str(), "r");
    if (!p) return out;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
    ::pclose(p);
    return out;
}

std::size_t mdbCount(const std::string& file, const std::string& table) {
    return std::stoul(run("mdb-count '" + file + "' " + table + " 2>/dev/null || echo 999999"));
}

std::size_t findRow(const ResultSet& rs, const std::u16string& code) {
    int c = rs.columnIndex("SIFRA");
    for (std::size_t r = 0; r < rs.rowCount(); ++r)
        if (!rs.isNull(r, std::size_t(c)) && rs.text(r, std::size_t(c)) == code) return r;
    ADD_FAILURE() << "no such code";
    return 0;
}

std::string errorOf(const std::function<void()>& f, ErrorCategory* category = nullptr) {
    try {
        f();
    } catch (const Error& e) {
        if (category) *category = e.category();
        return e.what();
    }
    return "";
}

struct RandomCase {
    const char* fixture;
    std::size_t deletes;  // SIZE_MAX: every row
    unsigned seed;
};

class RandomDeletes : public ::testing::TestWithParam<RandomCase> {};

}  // namespace

TEST_P(RandomDeletes, KeepEveryOtherRowAndEveryIndexConsistent) {
    const RandomCase& c = GetParam();
    TempDir dir;
    std::string path = dir.copy(c.fixture);
    // mdb-export lists rows in physical order, as readTable does: line i+1
    // is row i, so the lines that must survive are known.
    auto exportLines = [&] {
        std::vector<std::string> lines;
        std::string all = run("mdb-export '" + path + "' Dorvak"), line;
        for (char ch : all) {
            if (ch != '\n') { line += ch; continue; }
            lines.push_back(line);
            line.clear();
        }
        return lines;
    };
    const auto initialLines = exportLines();
    auto db = Database::open(path);
    ResultSet rs = db->readTable("Dorvak");
    ASSERT_EQ(initialLines.size(), rs.rowCount() + 1);
    std::map<std::pair<std::uint32_t, std::uint16_t>, std::string> lineOf;
    for (std::size_t r = 0; r < rs.rowCount(); ++r) lineOf[{rs.location(r).page, rs.location(r).row}] = initialLines[r + 1];
    auto expected = contents(rs);
    std::mt19937 rng(c.seed);
    std::size_t n = std::min(c.deletes, rs.rowCount());
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t row = rng() % rs.rowCount();
        expected.erase({rs.location(row).page, rs.location(row).row});
        db->deleteRow(rs, row);
        ASSERT_EQ(db->check(), std::vector<std::string>{}) << "after delete " << i;
        // The snapshot lost the row too, and a fresh read agrees with it.
        ResultSet now = db->readTable("Dorvak");
        ASSERT_EQ(contents(now), expected) << "after delete " << i;
        ASSERT_EQ(contents(rs), expected);
    }
    db.reset();
    // Another reader of the format sees the same.
    EXPECT_EQ(mdbCount(path, "Dorvak"), expected.size());
    std::vector<std::string> survivors{initialLines[0]};
    for (std::size_t r = 0; r < rs.rowCount(); ++r) survivors.push_back(lineOf.at({rs.location(r).page, rs.location(r).row}));
    EXPECT_EQ(exportLines(), survivors);
    EXPECT_EQ(Database::open(path)->check(), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(Fixtures, RandomDeletes,
                         ::testing::Values(RandomCase{"edge/Dorvak.mdb", SIZE_MAX, 1},  // trees empty out
                                           RandomCase{"demo/Dorvak.mdb", 30, 2},
                                           RandomCase{"relations/Dorvak-cascade.mdb", 20, 3}));

TEST(Delete, ARowDeletedOrChangedSinceTheSearchIsRefusedAndNothingChanges) {
    TempDir dir;
    std::string path = dir.copy("edge/Dorvak.mdb");
    auto db = Database::open(path);
    ResultSet first = db->readTable("Dorvak");
    ResultSet second = db->readTable("Dorvak");
    std::size_t row = findRow(first, u"KOD1");
    db->deleteRow(first, row);
    auto after = bytesOf(path);
    ErrorCategory category{};
    EXPECT_EQ(errorOf([&] { db->deleteRow(second, findRow(second, u"KOD1")); }, &category),
              "Row cannot be located for updating. Some values may have been changed since it was last read.");
    EXPECT_EQ(category, ErrorCategory::Conflict);
    EXPECT_EQ(bytesOf(path), after);
    EXPECT_EQ(second.rowCount(), first.rowCount() + 1);  // the refused row stays in its result
}

TEST(Delete, ARowEditedInTheFileSinceTheSearchIsRefused) {
    TempDir dir;
    std::string path = dir.copy("demo/Dorvak.mdb");
    ResultSet rs;
    {
        auto db = Database::open(path);
        rs = db->readTable("Dorvak");
    }
    // Another program changes one character of the first row's code in place.
    auto bytes = bytesOf(path);
    std::size_t row = 0;
    std::u16string code = rs.text(row, std::size_t(rs.columnIndex("SIFRA")));
    std::string needle(code.begin(), code.end());  // stored compressed: one byte per character
    auto at = std::search(bytes.begin() + std::ptrdiff_t(rs.location(row).page) * 4096,
                          bytes.begin() + std::ptrdiff_t(rs.location(row).page + 1) * 4096, needle.begin(), needle.end());
    ASSERT_NE(at, bytes.begin() + std::ptrdiff_t(rs.location(row).page + 1) * 4096);
    *at ^= 0x01;
    dir.write("Dorvak.mdb", bytes);
    auto db = Database::open(path);
    EXPECT_EQ(errorOf([&] { db->deleteRow(rs, row); }),
              "Row cannot be located for updating. Some values may have been changed since it was last read.");
    EXPECT_EQ(bytesOf(path), bytes);
}

TEST(Delete, RelatedRecordsBlockTheDeleteUnlessItCascades) {
    struct Case {
        const char* fixture;
        std::u16string code;
        std::string error;
        std::size_t ordersLeft;
    };
    const Case cases[] = {
        {"relations/Dorvak.mdb", u"VAL-232519",
         "The record cannot be deleted or changed because table 'Narudzbe' includes related records.", 8},
        {"relations/Dorvak.mdb", u"MN-3629/7", "", 8},  // no orders refer to it
        {"relations/Dorvak-cascade.mdb", u"VAL-232519", "", 5},
        {"relations/Dorvak-cascade.mdb", u"TRW JTC7569", "", 7},
    };
    for (const Case& c : cases) {
        TempDir dir;
        std::string path = dir.copy(c.fixture);
        auto before = bytesOf(path);
        auto db = Database::open(path);
        ResultSet rs = db->readTable("Dorvak");
        std::size_t rows = rs.rowCount();
        std::string error = errorOf([&] { db->deleteRow(rs, findRow(rs, c.code)); });
        EXPECT_EQ(error, c.error) << c.fixture;
        if (!c.error.empty()) {
            EXPECT_EQ(bytesOf(path), before) << c.fixture;
            EXPECT_EQ(rs.rowCount(), rows);
        }
        EXPECT_EQ(db->readTable("Narudzbe").rowCount(), c.ordersLeft) << c.fixture;
        EXPECT_EQ(db->check(), std::vector<std::string>{}) << c.fixture;
        db.reset();
        EXPECT_EQ(mdbCount(path, "Narudzbe"), c.ordersLeft) << c.fixture;
    }
}

TEST(Delete, AnAccessLockFileInUseRefusesTheDeleteAndAStaleOneDoesNot) {
    TempDir dir;
    std::string path = dir.copy("edge/Dorvak.mdb");
    std::string ldb = (dir.path() / "Dorvak.ldb").string();
    dir.write("Dorvak.ldb", std::vector<std::uint8_t>(64, 0));
    auto db = Database::open(path);
    ResultSet rs = db->readTable("Dorvak");
    auto before = bytesOf(path);

    int fd = ::open(ldb.c_str(), O_RDWR);
    struct flock fl{};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 1;
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &fl), 0);
    ErrorCategory category{};
    EXPECT_NE(errorOf([&] { db->deleteRow(rs, 0); }, &category), "");
    EXPECT_EQ(category, ErrorCategory::Locked);
    EXPECT_EQ(bytesOf(path), before);
    ::close(fd);

    EXPECT_EQ(errorOf([&] { db->deleteRow(rs, 0); }), "");
    EXPECT_EQ(db->check(), std::vector<std::string>{});
}

TEST(Delete, DeletingEveryRowEmptiesTheTreesAndFreesTheirPagesForAccess) {
    TempDir dir;
    std::string path = dir.copy("edge/Dorvak.mdb");
    auto before = bytesOf(path);
    {
        auto db = Database::open(path);
        ResultSet rs = db->readTable("Dorvak");
        while (rs.rowCount() > 0) db->deleteRow(rs, rs.rowCount() - 1);
        EXPECT_EQ(db->check(), std::vector<std::string>{});
    }
    auto after = bytesOf(path);
    // The global usage map (page 1, row 0, an inline bitmap here) marks free pages.
    std::size_t slot = (after[4096 + 14] | after[4096 + 15] << 8) & 0x1FFF;
    const std::uint8_t* map = after.data() + 4096 + slot;
    ASSERT_EQ(map[0], 0);  // inline
    std::uint32_t first = map[1] | map[2] << 8 | map[3] << 16 | std::uint32_t(map[4]) << 24;
    int freed = 0;
    for (std::size_t p = 0; p < after.size() / 4096; ++p) {
        bool wasIndex = before[p * 4096] == 0x03 || before[p * 4096] == 0x04;
        bool gone = after[p * 4096] == 0x00 && p != 0;
        if (!wasIndex || !gone) continue;
        ++freed;
        std::size_t bit = p - first;
        EXPECT_TRUE(map[5 + bit / 8] & (1 << (bit % 8))) << "page " << p << " freed but not marked free";
    }
    EXPECT_EQ(freed, 2);  // the SIFRA index's two leaves; its root stays, as an empty leaf
    EXPECT_EQ(mdbCount(path, "Dorvak"), 0u);
}
