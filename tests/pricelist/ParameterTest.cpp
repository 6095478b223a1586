// Binding values to the search parameter and the texts errors end up with.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QString>

#include "jet/Error.h"
#include "pricelist/DatabaseError.h"
#include "pricelist/Parameter.h"

namespace dorvak {
namespace {

Parameter sifra() {
    return Parameter(QStringLiteral("sifra"), Parameter::DataType::WideVarChar, 510, 255, 255, true,
                     QStringLiteral("x"));
}

TEST(Parameter, SizeGrowsToALongerTextAndNeverShrinks) {
    Parameter p = sifra();
    EXPECT_EQ(p.size(), 510);
    EXPECT_EQ(p.text(), QStringLiteral("x"));

    const QString longText = QString(600, QLatin1Char('A')) + QLatin1Char('%');
    p.setValue(longText);
    EXPECT_EQ(p.size(), 601);
    EXPECT_EQ(p.text(), longText);  // bound whole

    p.setValue(QStringLiteral("ab%"));
    EXPECT_EQ(p.size(), 601);
    p.setValue(QString());
    EXPECT_EQ(p.size(), 601);
}

TEST(Parameter, NarrowTextIsTakenInTheSystemEncodingAndNullStaysNull) {
    Parameter p = sifra();
    p.setValue(QStringLiteral("čšž-%").toLocal8Bit());
    EXPECT_EQ(p.text(), QStringLiteral("čšž-%"));
    EXPECT_EQ(p.value().typeId(), QMetaType::QString);

    p.setValue(QVariant());
    EXPECT_TRUE(p.value().isNull());
    EXPECT_EQ(p.text(), QString());
}

TEST(DatabaseError, EngineTextLosesTrailingBlanksControlsAndFullStopsOnly) {
    struct Case {
        const char* engine;
        const char* shown;
    } cases[] = {
        {"Could not find file 'Dorvak.mdb'.", "Could not find file 'Dorvak.mdb'"},
        {"Table 'Dorvak' not found. \r\n", "Table 'Dorvak' not found"},
        {"Damaged page 12...", "Damaged page 12"},
        {"v1.2 is not supported", "v1.2 is not supported"},
        {"Neočekivano stanje!", "Neočekivano stanje!"},
        {"..", ""},
    };
    for (const Case& c : cases) {
        const DatabaseError e =
            DatabaseError::fromEngine(jet::Error(jet::ErrorCategory::NotFound, c.engine));
        EXPECT_STREQ(e.what(), c.shown) << c.engine;
    }
    EXPECT_STREQ(DatabaseError::forComponent(QStringLiteral("qDorvak"), QStringLiteral("Ž")).what(),
                 "qDorvak: Ž");
}

}  // namespace
}  // namespace dorvak
