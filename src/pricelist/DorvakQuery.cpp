#include "pricelist/DorvakQuery.h"

#include "pricelist/Field.h"
#include "pricelist/Parameter.h"
#include "pricelist/Query.h"

namespace dorvak {

Query* CreateDorvakQuery(QObject* parent) {
    auto* query = new Query(parent);
    query->setObjectName(QStringLiteral("qDorvak"));
    query->setStatement(
        {QStringLiteral("select * from Dorvak"), QStringLiteral("where SIFRA like :sifra")});
    query->setConnectionString(QStringLiteral(
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=Dorvak.mdb;Persist Security Info=False"));
    query->addParameter(Parameter(QStringLiteral("sifra"), Parameter::DataType::WideVarChar, 510,
                                  255, 255, true, QStringLiteral("x")));
    new Field(query, QStringLiteral("qDorvakSIFRA"), QStringLiteral("SIFRA"),
              Field::Kind::WideString, 30);
    new Field(query, QStringLiteral("qDorvakNAZIV"), QStringLiteral("NAZIV"),
              Field::Kind::WideString, 202);
    auto* price = new Field(query, QStringLiteral("qDorvakCIJENA"), QStringLiteral("CIJENA"),
                            Field::Kind::Float, 0);
    price->setDisplayFormat(QStringLiteral("#,##0.00"));
    price->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return query;
}

}  // namespace dorvak
