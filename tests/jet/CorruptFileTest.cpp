// Damaged files must fail with Error, never crash, hang or read outside a
// page: each case breaks one structure the reader trusts.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "TestFiles.h"
#include "jet/Error.h"
#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/Format.h"
#include "jet/detail/MemoryPageFile.h"

namespace {

namespace f = jet::detail::format;
using jet::detail::DatabaseImpl;
using jet::detail::MemoryPageFile;

using Bytes = std::vector<std::uint8_t>;
const char* kSearch = "select * from Dorvak where SIFRA like ?";

// Opens and searches `bytes`; returns the error category, or nullopt on success.
std::optional<jet::ErrorCategory> openAndSearch(Bytes bytes, const char16_t* pattern = u"%") {
    try {
        DatabaseImpl db("/nonexistent/Dorvak.mdb", std::make_unique<MemoryPageFile>(std::move(bytes)));
        db.execute(kSearch, {pattern});
        db.readTable("Dorvak");
        return std::nullopt;
    } catch (const jet::Error& e) {
        return e.category();
    }
}

struct Layout {
    std::uint32_t tdef = 0;
    std::uint32_t dataPage = 0;
    std::uint32_t leafPage = 0;
};

Layout layoutOf(const Bytes& bytes) {
    DatabaseImpl db("/nonexistent/Dorvak.mdb", std::make_unique<MemoryPageFile>(bytes));
    db.pager().refresh();
    Layout l;
    auto t = db.table("Dorvak");
    l.tdef = t.firstPage;
    l.dataPage = db.dataPages(t).at(0);
    for (std::uint32_t p = 0; p < bytes.size() / f::kPageSize; ++p)
        if (bytes[p * f::kPageSize] == std::uint8_t(f::PageType::IndexLeaf)) l.leafPage = p;
    return l;
}

void put16(Bytes& b, std::size_t at, std::uint16_t v) { b[at] = std::uint8_t(v); b[at + 1] = std::uint8_t(v >> 8); }
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> (8 * i));
}

TEST(CorruptFile, EachBrokenStructureIsReportedAsCorruption) {
    const Bytes edge = jettest::fixtureBytes("edge/Dorvak.mdb");
    ASSERT_FALSE(openAndSearch(edge)) << "the intact file must read";
    const Layout l = layoutOf(edge);
    const std::size_t tdef = std::size_t(l.tdef) * f::kPageSize, data = std::size_t(l.dataPage) * f::kPageSize;
    struct Case {
        const char* what;
        std::function<void(Bytes&)> damage;
    } cases[] = {
        {"catalog page has another type", [](Bytes& b) { b[2 * f::kPageSize] = 0x01; }},
        {"table definition page has another type", [&](Bytes& b) { b[tdef] = 0x04; }},
        {"definition chain points at itself", [&](Bytes& b) { put32(b, tdef + f::kTdefNextPageOffset, l.tdef); }},
        {"definition chain points past the file", [&](Bytes& b) { put32(b, tdef + f::kTdefNextPageOffset, 0x00FFFFFF); }},
        {"column count larger than the definition", [&](Bytes& b) { put16(b, tdef + f::kTdefColumnCountOffset, 0xFFFF); }},
        {"usage map pointer to a missing page", [&](Bytes& b) { put32(b, tdef + f::kTdefUsedPagesOffset, 0xFFFFFF00); }},
        {"row count larger than the slot table", [&](Bytes& b) { put16(b, data + f::kDataRowCountOffset, 0xFFFF); }},
        {"row slot pointing into the header", [&](Bytes& b) { put16(b, data + f::kDataRowTableOffset, 0x0002); }},
        {"row slot past its neighbour", [&](Bytes& b) { put16(b, data + f::kDataRowTableOffset + 2, 0x1FFF); }},
        {"overflow row pointing past the file",
         [&](Bytes& b) {
             std::uint16_t slot = b[data + f::kDataRowTableOffset] | (b[data + f::kDataRowTableOffset + 1] << 8);
             put16(b, data + f::kDataRowTableOffset, slot | f::kRowOverflowFlag);
             put32(b, data + (slot & f::kRowOffsetMask), 0xFFFFFF00);
         }},
        {"overflow row pointing at itself",
         [&](Bytes& b) {
             std::uint16_t slot = b[data + f::kDataRowTableOffset] | (b[data + f::kDataRowTableOffset + 1] << 8);
             put16(b, data + f::kDataRowTableOffset, slot | f::kRowOverflowFlag);
             put32(b, data + (slot & f::kRowOffsetMask), (l.dataPage << 8) | 0);
         }},
        {"row column count bigger than the row",
         [&](Bytes& b) {
             std::uint16_t slot = b[data + f::kDataRowTableOffset] | (b[data + f::kDataRowTableOffset + 1] << 8);
             put16(b, data + (slot & f::kRowOffsetMask), 0xFFFF);
         }},
        {"index leaf pages form a cycle",
         [&](Bytes& b) { put32(b, std::size_t(l.leafPage) * f::kPageSize + f::kIndexNextPageOffset, l.leafPage); }},
        {"index shared prefix longer than an entry",
         [&](Bytes& b) { put16(b, std::size_t(l.leafPage) * f::kPageSize + f::kIndexPrefixLengthOffset, 0x0FFF); }},
        {"file cut after the catalog", [](Bytes& b) { b.resize(4 * f::kPageSize); }},
    };
    for (const auto& c : cases) {
        Bytes b = edge;
        c.damage(b);
        auto result = openAndSearch(b, u"FIL%");
        ASSERT_TRUE(result.has_value()) << c.what << ": damage went unnoticed";
        EXPECT_EQ(*result, jet::ErrorCategory::Corruption) << c.what;
    }
}

// Random damage, deterministic seeds: every outcome is a result or an Error.
TEST(CorruptFile, RandomByteDamageNeverCrashes) {
    const Bytes edge = jettest::fixtureBytes("edge/Dorvak.mdb");
    std::mt19937 rng(20261211);
    for (int round = 0; round < 150; ++round) {
        Bytes b = edge;
        int hits = 1 + int(rng() % 16);
        for (int i = 0; i < hits; ++i) {
            // Aim at the pages that matter: catalog, definitions, data, index.
            std::size_t page = rng() % (b.size() / f::kPageSize);
            b[page * f::kPageSize + rng() % f::kPageSize] = std::uint8_t(rng());
        }
        openAndSearch(std::move(b), round % 2 ? u"FIL%" : u"%");
    }
}

// Files the fuzzer once broke the reader with.
TEST(CorruptFile, FuzzFindingsFailCleanly) {
    std::filesystem::path dir = std::filesystem::path(DORVAK_TEST_DATA) / ".." / "jet" / "fuzz" / "crashers";
    for (const auto& e : std::filesystem::directory_iterator(dir)) {
        if (e.path().extension() == ".md") continue;
        std::ifstream in(e.path(), std::ios::binary);
        Bytes b{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        SCOPED_TRACE(e.path().string());
        openAndSearch(std::move(b));
    }
}

}  // namespace
