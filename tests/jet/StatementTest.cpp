#include "jet/detail/Statement.h"

#include <gtest/gtest.h>

#include "jet/Error.h"

namespace {

using jet::detail::Statement;

TEST(Statement, AcceptsTheProgramsFormInAnySpacingAndCase) {
    struct {
        const char* text;
        const char* table;
        const char* column;
    } cases[] = {
        {"select * from Dorvak\r\nwhere SIFRA like :sifra", "Dorvak", "SIFRA"},
        {"SELECT * FROM Dorvak WHERE sifra LIKE ?", "Dorvak", "sifra"},
        {"  select\t*\nfrom   [Dorvak]  where [SIFRA] like ?  ", "Dorvak", "SIFRA"},
        {"select * from Dorvak", "Dorvak", ""},
        {"select * from Dorvak;", "Dorvak", ""},
    };
    for (const auto& c : cases) {
        Statement s = Statement::parse(c.text);
        EXPECT_EQ(s.table, c.table) << c.text;
        EXPECT_EQ(s.column, c.column) << c.text;
    }
}

TEST(Statement, RefusesEverythingElseWithASyntaxError) {
    for (const char* text : {"", "select", "select SIFRA from Dorvak", "select * Dorvak", "delete from Dorvak",
                             "select * from Dorvak where SIFRA = ?", "select * from Dorvak where SIFRA like 'x'",
                             "select * from Dorvak where SIFRA like ? and NAZIV like ?",
                             "select * from Dorvak order by SIFRA", "select * from [Dorvak"}) {
        try {
            Statement::parse(text);
            ADD_FAILURE() << "accepted: " << text;
        } catch (const jet::Error& e) {
            EXPECT_EQ(e.category(), jet::ErrorCategory::InvalidArgument) << text;
            EXPECT_NE(std::string(e.what()).find("Syntax error"), std::string::npos) << text;
        }
    }
}

}  // namespace
