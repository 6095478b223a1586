// The window's query as built: the names the window finds its parts by and
// the declarations an open depends on, all before anything is opened.
#include <gtest/gtest.h>

#include <QObject>

#include "pricelist/DorvakQuery.h"
#include "pricelist/Field.h"
#include "pricelist/Query.h"

namespace dorvak {
namespace {

TEST(DorvakQuery, IsBuiltClosedWithItsStatementParameterAndFields) {
    QObject owner;
    Query* query = CreateDorvakQuery(&owner);
    EXPECT_EQ(owner.findChild<Query*>(QStringLiteral("qDorvak")), query);
    EXPECT_FALSE(query->isActive());
    EXPECT_FALSE(query->isConnected());
    EXPECT_EQ(query->statement(), (QStringList{"select * from Dorvak", "where SIFRA like :sifra"}));
    EXPECT_EQ(
        query->connectionString(),
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Dorvak.mdb;Persist Security Info=False");

    ASSERT_EQ(query->parameters().size(), 1u);
    const Parameter& sifra = query->parameters().front();
    EXPECT_EQ(sifra.name(), "sifra");
    EXPECT_EQ(sifra.dataType(), Parameter::DataType::WideVarChar);
    EXPECT_EQ(sifra.size(), 510);
    EXPECT_EQ(sifra.precision(), 255);
    EXPECT_EQ(sifra.numericScale(), 255);
    EXPECT_TRUE(sifra.isNullable());
    EXPECT_EQ(sifra.value(), QVariant(QStringLiteral("x")));
    EXPECT_EQ(&query->parameterByName(QStringLiteral("SiFrA")), &sifra);

    struct Expected {
        const char* objectName;
        const char* fieldName;
        Field::Kind kind;
        int size;
        const char* format;
        Qt::Alignment align;
    } expected[] = {
        {"qDorvakSIFRA", "SIFRA", Field::Kind::WideString, 30, "", Qt::AlignLeft},
        {"qDorvakNAZIV", "NAZIV", Field::Kind::WideString, 202, "", Qt::AlignLeft},
        {"qDorvakCIJENA", "CIJENA", Field::Kind::Float, 0, "#,##0.00", Qt::AlignRight},
    };
    ASSERT_EQ(query->fields().size(), 3);
    for (int i = 0; i < 3; ++i) {
        const Field* f = query->fields().at(i);
        SCOPED_TRACE(expected[i].objectName);
        EXPECT_EQ(query->findChild<Field*>(expected[i].objectName), f);
        EXPECT_EQ(f->fieldName(), expected[i].fieldName);
        EXPECT_EQ(f->kind(), expected[i].kind);
        EXPECT_EQ(f->size(), expected[i].size);
        EXPECT_EQ(f->displayFormat(), expected[i].format);
        EXPECT_EQ(f->alignment() & Qt::AlignHorizontal_Mask, expected[i].align);
        // Closed: every field reads as null.
        EXPECT_TRUE(f->isNull());
        EXPECT_EQ(f->asString(), QString());
        EXPECT_EQ(f->asFloat(), 0.0);
    }
    EXPECT_EQ(query->recNo(), 0);
    EXPECT_EQ(query->rowCount(), 0);
}

}  // namespace
}  // namespace dorvak
