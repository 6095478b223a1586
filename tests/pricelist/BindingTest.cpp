// Which tables the declared fields accept, what they read from each, and
// the messages for the ones they do not.
#include "PriceListFixture.h"
#include "pricelist/DatabaseError.h"
#include "pricelist/OpenQuery.h"

namespace dorvak {
namespace {

class Binding : public PriceListFixture {};

TEST_F(Binding, ColumnsOfTheWrongKindOrMissingFailTheOpenWithTheirMessage) {
    struct Case {
        const char* file;
        const char* message;
    } cases[] = {
        {"types/cijena_long.mdb",
         "qDorvak: Type mismatch for field 'CIJENA', expecting: Float actual: Integer"},
        {"types/cijena_int.mdb",
         "qDorvak: Type mismatch for field 'CIJENA', expecting: Float actual: Smallint"},
        {"types/cijena_decimal_int.mdb",
         "qDorvak: Type mismatch for field 'CIJENA', expecting: Float actual: Integer"},
        {"types/cijena_text.mdb",
         "qDorvak: Type mismatch for field 'CIJENA', expecting: Float actual: WideString"},
        {"types/cijena_date.mdb",
         "qDorvak: Type mismatch for field 'CIJENA', expecting: Float actual: DateTime"},
        {"types/sifra_memo.mdb",
         "qDorvak: Type mismatch for field 'SIFRA', expecting: WideString actual: WideMemo"},
        {"types/naziv_memo.mdb",
         "qDorvak: Type mismatch for field 'NAZIV', expecting: WideString actual: WideMemo"},
        {"types/no_naziv.mdb", "qDorvak: Field 'NAZIV' not found"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        // Each file is a new run: the connection belongs to the file.
        owner_.setObjectName(c.file);
        delete query;
        query = CreateDorvakQuery(&owner_);
        dataSource.setDataSet(query);
        clearLog();
        installDatabase(QString::fromLatin1(c.file));
        try {
            OpenQuery(*query, {QStringLiteral("sifra")}, {QStringLiteral("%")});
            ADD_FAILURE() << "opened";
        } catch (const DatabaseError& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_FALSE(query->isActive());
        EXPECT_EQ(query->rowCount(), 0);
        EXPECT_EQ(notifications, 0);
        EXPECT_EQ(field("qDorvakCIJENA")->asFloat(), 0.0);
        EXPECT_EQ(field("qDorvakCIJENA")->columnIndex(), -1);
    }
}

TEST_F(Binding, AMissingTableFailsWithTheEngineTextAndLeavesNoConnection) {
    installDatabase(QStringLiteral("types/no_table.mdb"));
    try {
        OpenQuery(*query, {QStringLiteral("sifra")}, {QStringLiteral("TIP%")});
        ADD_FAILURE() << "opened";
    } catch (const DatabaseError& e) {
        const QString message = e.message();
        EXPECT_TRUE(message.contains(QStringLiteral("Dorvak"))) << e.what();
        EXPECT_FALSE(message.startsWith(QStringLiteral("qDorvak:"))) << e.what();
        EXPECT_FALSE(message.endsWith(u'.')) << e.what();
    }
    EXPECT_FALSE(query->isActive());
    EXPECT_FALSE(query->isConnected());
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(connectionAttempts, 1);
}

TEST_F(Binding, PricesOfEveryFloatingKindReadAsDoublesAndFurtherColumnsAreIgnored) {
    struct Case {
        const char* file;
        const char* code;
        double price;
        const char* shown;
    } cases[] = {
        {"types/cijena_currency.mdb", "TIP-004", 1234.5678, "1,234.57"},
        {"types/cijena_currency.mdb", "TIP-006", 0.0, ""},  // null
        {"types/cijena_decimal.mdb", "TIP-001", 12.34, "12.34"},
        {"types/cijena_decimal.mdb", "TIP-003", -99.99, "-99.99"},
        {"types/cijena_single.mdb", "TIP-001", static_cast<double>(1.1f), "1.10"},
        {"types/lowercase_cols.mdb", "TIP-002", 22.22, "22.22"},
        {"types/extra_cols.mdb", "EX-003", 30.5, "30.50"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.code);
        delete query;
        query = CreateDorvakQuery(&owner_);
        installDatabase(QString::fromLatin1(c.file));
        OpenQuery(*query, {QStringLiteral("sifra")}, {QString::fromLatin1(c.code)});
        ASSERT_EQ(query->recordCount(), 1);
        EXPECT_EQ(field("qDorvakSIFRA")->asString(), QString::fromLatin1(c.code));
        EXPECT_EQ(field("qDorvakCIJENA")->asFloat(), c.price);
        EXPECT_EQ(field("qDorvakCIJENA")->isNull(), c.shown[0] == '\0');
        EXPECT_EQ(query->cellText(0, 2), QString::fromLatin1(c.shown));
    }
    // extra_cols: the name is read from its own column, not by position.
    EXPECT_EQ(field("qDorvakNAZIV")->asString(), QStringLiteral("Filter zraka"));
}

}  // namespace
}  // namespace dorvak
