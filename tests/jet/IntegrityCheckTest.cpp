// The check must see damage, or every "check passes" above proves nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "TestFiles.h"
#include "jet/Database.h"

using jettest::TempDir;

namespace {

constexpr std::size_t kPage = 4096;

// In edge/Dorvak.mdb: the SIFRA index's two leaves (39 then 38) under root
// 27; both index pages name the table's definition page at offset 4.
constexpr std::size_t kLeafFirst = 39, kLeafSecond = 38;

std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

struct Damage {
    const char* what;
    const char* expectedText;  // a word the report must contain
    void (*apply)(std::vector<std::uint8_t>&);
};

}  // namespace

TEST(IntegrityCheck, ReportsEachKindOfDamageAndPassesTheIntactFile) {
    const Damage cases[] = {
        {"row count one too high", "counts",
         [](std::vector<std::uint8_t>& b) {
             std::size_t tdef = le32(b, kLeafSecond * kPage + 4);
             b[tdef * kPage + 16] += 1;
         }},
        {"a broken sibling link", "links",
         [](std::vector<std::uint8_t>& b) { b[kLeafSecond * kPage + 12] = 0; }},
        {"a wrong free-space word", "free",
         [](std::vector<std::uint8_t>& b) { b[kLeafFirst * kPage + 2] ^= 0x10; }},
        {"an entry dropped from a leaf", "no entry",
         [](std::vector<std::uint8_t>& b) {
             // Clear the mask bit of the leaf's last entry: it merges into nothing.
             std::size_t mask = kLeafSecond * kPage + 27;
             for (std::size_t i = 453; i-- > 0;)
                 if (b[mask + i]) {
                     for (int bit = 7; bit >= 0; --bit)
                         if (b[mask + i] & (1 << bit)) {
                             b[mask + i] &= std::uint8_t(~(1 << bit));
                             return;
                         }
                 }
         }},
    };
    TempDir dir;
    std::string tool = std::string(DORVAK_BINARY_DIR) + "/src/app/dorvak-db";
    {
        std::string path = dir.copy("edge/Dorvak.mdb");
        EXPECT_EQ(jet::Database::open(path)->check(), std::vector<std::string>{});
        EXPECT_EQ(std::system(("'" + tool + "' check '" + path + "' > /dev/null").c_str()), 0);
    }
    for (const Damage& d : cases) {
        auto bytes = jettest::fixtureBytes("edge/Dorvak.mdb");
        d.apply(bytes);
        std::string path = dir.write("Dorvak.mdb", bytes);
        auto problems = jet::Database::open(path)->check();
        ASSERT_FALSE(problems.empty()) << d.what;
        bool named = false;
        for (const auto& p : problems) named |= p.find(d.expectedText) != std::string::npos;
        EXPECT_TRUE(named) << d.what << ": " << problems.front();
        EXPECT_NE(std::system(("'" + tool + "' check '" + path + "' > /dev/null").c_str()), 0) << d.what;
    }
}
