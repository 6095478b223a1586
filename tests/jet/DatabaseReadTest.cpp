#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <unistd.h>

#include "TestFiles.h"
#include "jet/Database.h"
#include "jet/Error.h"

namespace {

using jettest::TempDir;

const char16_t* kAll = u"%";
const char* kSearch = "select * from Dorvak\r\nwhere SIFRA like :sifra";

std::string utf8(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        if (c < 0x80) out += char(c);
        else if (c < 0x800) { out += char(0xC0 | (c >> 6)); out += char(0x80 | (c & 0x3F)); }
        else { out += char(0xE0 | (c >> 12)); out += char(0x80 | ((c >> 6) & 0x3F)); out += char(0x80 | (c & 0x3F)); }
    }
    return out;
}

std::u16string wide(const std::string& s) {
    std::u16string out;
    for (std::size_t i = 0; i < s.size();) {
        unsigned char c = s[i];
        if (c < 0x80) { out += c; i += 1; }
        else if ((c >> 5) == 6) { out += char16_t(((c & 0x1F) << 6) | (s[i + 1] & 0x3F)); i += 2; }
        else { out += char16_t(((c & 0x0F) << 12) | ((s[i + 1] & 0x3F) << 6) | (s[i + 2] & 0x3F)); i += 3; }
    }
    return out;
}

jet::ErrorCategory categoryOf(const std::function<void()>& f, std::string* message = nullptr) {
    try {
        f();
    } catch (const jet::Error& e) {
        if (message) *message = e.what();
        return e.category();
    }
    ADD_FAILURE() << "no error";
    return jet::ErrorCategory::Io;
}

class Cwd {
public:
    explicit Cwd(const std::filesystem::path& p) : old_(std::filesystem::current_path()) { std::filesystem::current_path(p); }
    ~Cwd() { std::filesystem::current_path(old_); }

private:
    std::filesystem::path old_;
};

TEST(OpenDatabase, TakesTheDataSourceOfTheConnectionStringFromTheCurrentDirectory) {
    TempDir dir;
    dir.copy("edge/Dorvak.mdb");
    Cwd cwd(dir.path());
    for (const char* cs : {"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Dorvak.mdb;Persist Security Info=False",
                           "data source = Dorvak.mdb", "PROVIDER=x;DATA SOURCE=Dorvak.mdb;"}) {
        auto db = jet::Database::openConnectionString(cs);
        EXPECT_EQ(db->path(), (dir.path() / "Dorvak.mdb").string()) << cs;
        EXPECT_EQ(db->tableNames(), std::vector<std::string>{"Dorvak"});
    }
}

TEST(OpenDatabase, AMissingFileNamesItsFullPath) {
    TempDir dir;
    Cwd cwd(dir.path());
    std::string message;
    auto cat = categoryOf([] { jet::Database::openConnectionString("Provider=x;Data Source=Dorvak.mdb"); }, &message);
    EXPECT_EQ(cat, jet::ErrorCategory::NotFound);
    EXPECT_EQ(message, "Could not find file '" + (dir.path() / "Dorvak.mdb").string() + "'.");
    EXPECT_EQ(categoryOf([] { jet::Database::openConnectionString("Provider=x;Persist Security Info=False"); }),
              jet::ErrorCategory::InvalidArgument);
}

TEST(OpenDatabase, RefusesFilesThatAreNotJet4DatabasesNamingTheFile) {
    TempDir dir;
    auto demo = jettest::fixtureBytes("demo/Dorvak.mdb");
    struct Case {
        std::string path;
        jet::ErrorCategory category;
    } cases[] = {
        {dir.copy("access/testV1997.mdb", "a97.mdb"), jet::ErrorCategory::NotSupported},
        {dir.copy("access/testV2007.accdb", "a2007.accdb"), jet::ErrorCategory::NotSupported},
        {dir.write("text.mdb", std::vector<std::uint8_t>(5000, 'x')), jet::ErrorCategory::Corruption},
        {dir.write("empty.mdb", {}), jet::ErrorCategory::Corruption},
        {dir.write("half-page.mdb", std::vector<std::uint8_t>(demo.begin(), demo.begin() + 2000)),
         jet::ErrorCategory::Corruption},
        {dir.write("cut.mdb", std::vector<std::uint8_t>(demo.begin(), demo.begin() + 4096 * 2)),
         jet::ErrorCategory::Corruption},
        {dir.write("odd-size.mdb", std::vector<std::uint8_t>(demo.begin(), demo.begin() + 4096 * 100 + 7)),
         jet::ErrorCategory::Corruption},
    };
    for (const auto& c : cases) {
        std::string message;
        EXPECT_EQ(categoryOf([&] { jet::Database::open(c.path)->execute(kSearch, {kAll}); }, &message), c.category)
            << c.path;
        EXPECT_NE(message.find(c.path), std::string::npos) << message;
    }
}

TEST(OpenDatabase, MissingTablesAndColumnsAreNamed) {
    TempDir dir;
    auto db = jet::Database::open(dir.copy("types/no_table.mdb"));
    std::string message;
    EXPECT_EQ(categoryOf([&] { db->execute(kSearch, {kAll}); }, &message), jet::ErrorCategory::NotFound);
    EXPECT_NE(message.find("'Dorvak'"), std::string::npos) << message;
    EXPECT_EQ(db->readTable("artikli").rowCount(), 5u);  // names are case-blind
    EXPECT_EQ(categoryOf([&] { db->execute("select * from Artikli where NAZIVX like ?", {kAll}); }, &message),
              jet::ErrorCategory::NotFound);
    EXPECT_NE(message.find("NAZIVX"), std::string::npos) << message;
    EXPECT_EQ(categoryOf([&] { db->execute("select * from Artikli where SIFRA like ?", {}); }),
              jet::ErrorCategory::InvalidArgument);
}

struct Count {
    const char* file;
    const char* prefix;
    std::size_t rows;
};

class SearchFinds : public testing::TestWithParam<Count> {};

TEST_P(SearchFinds, EveryCodeBeginningWithThePrefix) {
    TempDir dir;
    auto db = jet::Database::open(dir.copy(GetParam().file));
    auto rs = db->execute(kSearch, {wide(GetParam().prefix) + u"%"});
    EXPECT_EQ(rs.rowCount(), GetParam().rows) << GetParam().prefix;
}

// Counts as the fixtures' descriptions give them.
INSTANTIATE_TEST_SUITE_P(Fixtures, SearchFinds,
                         testing::Values(Count{"demo/Dorvak.mdb", "BOS", 546}, Count{"demo/Dorvak.mdb", "bos 0986", 140},
                                         Count{"demo/Dorvak.mdb", "FO-1", 7}, Count{"demo/Dorvak.mdb", "VAL-", 168},
                                         Count{"demo/Dorvak.mdb", "TRW GDB", 11}, Count{"demo/Dorvak.mdb", "löb", 21},
                                         Count{"demo/Dorvak.mdb", "%", 5000}, Count{"demo/Dorvak.mdb", "QQQ", 0},
                                         Count{"edge/Dorvak.mdb", "ABC", 3}, Count{"edge/Dorvak.mdb", "A&&", 1},
                                         Count{"edge/Dorvak.mdb", "   K", 1}, Count{"edge/Dorvak.mdb", "ČŠŽ", 2},
                                         Count{"edge/Dorvak.mdb", "CSZ", 1}, Count{"edge/Dorvak.mdb", "ĐĆ", 2},
                                         Count{"edge/Dorvak.mdb", "FIL-01", 100}, Count{"edge/Dorvak.mdb", "NULL", 3},
                                         Count{"edge/Dorvak.mdb", "1E", 1},
                                         // "%%" matches the empty code too, never the NULL one
                                         Count{"edge/Dorvak.mdb", "%", 340}));

TEST(Search, RowsComeInTheOrderOfTheIndexOnTheSearchedColumn) {
    TempDir dir;
    auto db = jet::Database::open(dir.copy("edge/Dorvak.mdb"));
    auto rs = db->execute(kSearch, {u"FIL-%"});
    ASSERT_EQ(rs.rowCount(), 300u);
    int sifra = rs.columnIndex("sifra");
    for (std::size_t i = 0; i < rs.rowCount(); ++i) {
        char expected[16];
        std::snprintf(expected, sizeof expected, "FIL-%04zu", i + 1);
        ASSERT_EQ(utf8(rs.text(i, std::size_t(sifra))), expected) << i;
    }
    // Physical order, as a table read gives it, is not that order.
    auto all = db->readTable("Dorvak");
    bool physicalSorted = true;
    for (std::size_t i = 1, last = 0; i < all.rowCount(); ++i) {
        auto s = utf8(all.text(i, 1));
        if (s.rfind("FIL-", 0) != 0) continue;
        if (last && utf8(all.text(last, 1)) > s) physicalSorted = false;
        last = i;
    }
    EXPECT_FALSE(physicalSorted);
}

TEST(Search, WithoutAnIndexRowsComeInPhysicalOrderWithTheirLocations) {
    TempDir dir;
    auto db = jet::Database::open(dir.copy("types/cijena_long.mdb"));
    auto rs = db->execute(kSearch, {u"TIP%"});
    auto all = db->readTable("Dorvak");
    ASSERT_EQ(rs.rowCount(), all.rowCount());
    for (std::size_t i = 0; i < rs.rowCount(); ++i) {
        EXPECT_EQ(rs.location(i), all.location(i));
        EXPECT_EQ(rs.text(i, 0), all.text(i, 0));
    }
    EXPECT_EQ(utf8(rs.text(0, 0)), "TIP-004");  // the first row inserted
}

TEST(Search, ReadsTheFileAgainForEveryStatement) {
    TempDir dir;
    std::string path = dir.copy("edge/Dorvak.mdb");
    auto db = jet::Database::open(path);
    EXPECT_EQ(db->execute(kSearch, {u"BOS%"}).rowCount(), 0u);
    // Another program replaces the contents in place (same file, same descriptor).
    dir.write("Dorvak.mdb", jettest::fixtureBytes("demo/Dorvak.mdb"));
    EXPECT_EQ(db->execute(kSearch, {u"BOS%"}).rowCount(), 546u);
}

// Values of every kind the fixtures hold, read back exactly.
TEST(ReadValues, EveryColumnTypeDecodesExactly) {
    TempDir dir;
    auto price = [&](const char* file, const char* code) {
        auto db = jet::Database::open(dir.copy(file, "t.mdb"));
        auto rs = db->execute(kSearch, {wide(code)});
        EXPECT_EQ(rs.rowCount(), 1u) << file << " " << code;
        return rs.value(0, std::size_t(rs.columnIndex("CIJENA")));
    };
    EXPECT_EQ(price("types/cijena_currency.mdb", "TIP-009").integer, INT64_MIN);
    EXPECT_EQ(price("types/cijena_currency.mdb", "TIP-010").integer, INT64_MAX);
    EXPECT_EQ(price("types/cijena_currency.mdb", "TIP-002").integer, 1);
    EXPECT_DOUBLE_EQ(price("types/cijena_currency.mdb", "TIP-008").toDouble(), 2.675);
    EXPECT_EQ(price("types/cijena_decimal.mdb", "TIP-005").numeric, "-9999999999999999.99");
    EXPECT_EQ(price("types/cijena_decimal.mdb", "TIP-007").numeric, "0.00");
    EXPECT_DOUBLE_EQ(price("types/cijena_decimal.mdb", "TIP-001").toDouble(), 12.34);
    EXPECT_EQ(price("types/cijena_decimal_int.mdb", "TIP-005").numeric, "-999999999");
    EXPECT_EQ(price("types/cijena_single.mdb", "TIP-001").real, double(1.1f));
    EXPECT_EQ(price("types/cijena_long.mdb", "TIP-005").integer, INT32_MIN);
    EXPECT_EQ(price("types/cijena_int.mdb", "TIP-005").integer, -32768);
    EXPECT_EQ(price("types/cijena_date.mdb", "TIP-007").real, -1.25);
    EXPECT_EQ(price("types/cijena_date.mdb", "TIP-004").real, 36585.57326388889);
    EXPECT_TRUE(price("types/cijena_date.mdb", "TIP-006").isNull());
    EXPECT_EQ(price("types/cijena_text.mdb", "TIP-007").text, u" 7 ");
    EXPECT_EQ(price("types/cijena_text.mdb", "TIP-005").kind, jet::Value::Kind::Text);  // empty, not null
    EXPECT_TRUE(price("types/cijena_text.mdb", "TIP-006").isNull());
}

TEST(ReadValues, LongTextInTheRowOnOnePageAndAcrossAChain) {
    TempDir dir;
    auto db = jet::Database::open(dir.copy("types/naziv_memo.mdb"));
    auto rs = db->readTable("Dorvak");
    std::map<std::string, std::u16string> names;
    for (std::size_t i = 0; i < rs.rowCount(); ++i) names[utf8(rs.text(i, 0))] = rs.text(i, 1);
    EXPECT_EQ(names["NM-001"], u"Kratki naziv u memo stupcu");
    EXPECT_EQ(names["NM-002"].size(), 1000u);
    EXPECT_EQ(names["NM-002"].substr(0, 39), u"Dugi memo tekst - Pločice kočnice ČĆŠŽĐ");
    EXPECT_EQ(names["NM-003"].size(), 5000u);
    std::u16string unit = u"Vrlo dugi memo za više stranica: Svjećica, Remen, Amortizer. ";
    for (std::size_t i = 0; i < 5000; ++i) ASSERT_EQ(names["NM-003"][i], unit[i % unit.size()]) << i;
    EXPECT_EQ(names["NM-006"].size(), 1000u);
    EXPECT_EQ(names["NM-005"], u"");
}

TEST(ReadValues, EdgeTextsSurviveIncludingSurrogatesAndNulls) {
    TempDir dir;
    auto db = jet::Database::open(dir.copy("edge/Dorvak.mdb"));
    auto one = [&](const char16_t* code) {
        auto rs = db->execute(kSearch, {code});
        EXPECT_EQ(rs.rowCount(), 1u);
        return rs;
    };
    EXPECT_EQ(one(u"UNI-02").text(0, 2), u"Znakovi izvan cp1250: Ω ≥ 日本 🔧");
    EXPECT_EQ(one(u"UNI-01").text(0, 2), u"Ključ — cijena u € „navodnici“");
    EXPECT_EQ(one(u"N255").text(0, 2).size(), 255u);
    EXPECT_EQ(one(u"KOD2   ").text(0, 1), u"KOD2   ");
    auto both = one(u"NULL-OBOJE");
    EXPECT_TRUE(both.isNull(0, 2));
    EXPECT_TRUE(both.isNull(0, 3));
    EXPECT_EQ(both.number(0, 3), 0.0);
    EXPECT_EQ(one(u"EMPTY-NAZIV").text(0, 2), u"");
    EXPECT_FALSE(one(u"EMPTY-NAZIV").isNull(0, 2));
}

TEST(ReadValues, DeletedRowsAreSkippedAndMovedRowsReadWhereTheyMoved) {
    TempDir dir;
    EXPECT_EQ(jet::Database::open(dir.copy("access/delTestV2000.mdb", "d.mdb"))->readTable("Table").rowCount(), 2u);
    auto rs = jet::Database::open(dir.copy("access/overflowTestV2000.mdb", "o.mdb"))->readTable("Table1");
    ASSERT_EQ(rs.rowCount(), 7u);
    // Rows 3 and 5 grew and moved; they keep their original slot's place.
    EXPECT_EQ(rs.text(2, 1), u"row3col3");
    EXPECT_EQ(rs.text(2, 7), u"row3col9");
    EXPECT_EQ(rs.text(4, 1), u"row5col2");
    EXPECT_TRUE(rs.isNull(4, 0));
}

TEST(ResultSet, CopiesShareRowsUntilOneRemovesARow) {
    TempDir dir;
    auto db = jet::Database::open(dir.copy("edge/Dorvak.mdb"));
    auto a = db->execute(kSearch, {u"DUP%"});
    ASSERT_EQ(a.rowCount(), 2u);
    auto b = a;
    b.removeRow(0);
    EXPECT_EQ(a.rowCount(), 2u);
    ASSERT_EQ(b.rowCount(), 1u);
    EXPECT_EQ(b.location(0), a.location(1));
    EXPECT_EQ(b.text(0, 2), a.text(1, 2));
}

}  // namespace
