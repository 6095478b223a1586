// The search rule and OpenQuery over a real price list: what is found, what
// the data source tells and when, and how each failure leaves the query.
#include <QFile>

#include "PriceListFixture.h"
#include "pricelist/DatabaseError.h"
#include "pricelist/OpenQuery.h"
#include "pricelist/Parameter.h"
#include "pricelist/SearchRule.h"

namespace dorvak {
namespace {

class Search : public PriceListFixture {
protected:
    void SetUp() override {
        PriceListFixture::SetUp();
        installDatabase(QStringLiteral("edge/Dorvak.mdb"));
    }

    QString errorOf(const std::function<void()>& action) {
        try {
            action();
        } catch (const DatabaseError& e) {
            return e.message();
        }
        ADD_FAILURE() << "no error";
        return QString();
    }
};

TEST_F(Search, OpensWithTheFirstRowCurrentAndNotifiesOnceAfterTheViews) {
    ApplySearchRule(*query, QStringLiteral("DUP"));
    EXPECT_TRUE(query->isActive());
    EXPECT_EQ(query->recordCount(), 2);
    EXPECT_EQ(query->recNo(), 1);
    EXPECT_EQ(log, (QStringList{"aboutToReset", "reset", "current 0", "dataChange"}));
    EXPECT_EQ(code(), QStringLiteral("DUP-01"));
    EXPECT_EQ(field("qDorvakNAZIV")->asString(), QStringLiteral("Dvostruka šifra - prvi redak"));
    EXPECT_DOUBLE_EQ(price(), 1.0);
    EXPECT_EQ(field("qDorvakCIJENA")->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_TRUE(notices.isEmpty());
    EXPECT_EQ(connectionAttempts, 1);
}

TEST_F(Search, FindsTheCodesBeginningWithTheTextAndKeepsPatternCharacters) {
    struct Case {
        QString text;
        QStringList expected;  // empty: only the count is checked
        int count;
    } cases[] = {
        {QStringLiteral("ABC"), {}, 3},  // letter case ignored
        {QStringLiteral("abc-00"), {}, 3},
        {QStringLiteral("   "), {QStringLiteral("   KOD1")}, 1},  // spaces are not trimmed
        {QStringLiteral("AB1"), {QStringLiteral("AB1")}, 1},      // exactly three characters
        {QStringLiteral("%KOD"), {}, 3},                          // "%" matches any run
        {QStringLiteral("AB_"), {}, 9},                           // "_" matches any one
        {QStringLiteral("AB%"), {}, 9},
        {QStringLiteral("AB\"1"), {QStringLiteral("AB\"12")}, 1},  // quotes are just text
        {QStringLiteral("AB'1"), {QStringLiteral("AB'12")}, 1},
        {QStringLiteral("FIL-01"), {}, 100},
        {QStringLiteral("NEMA-TAKVE"), {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        clearLog();
        ApplySearchRule(*query, c.text);
        EXPECT_EQ(query->recordCount(), c.count);
        if (!c.expected.isEmpty()) EXPECT_EQ(codes(), c.expected);
        EXPECT_EQ(notifications, 1);
        EXPECT_EQ(query->parameterByName(QStringLiteral("sifra")).text(), c.text + u'%');
    }
    EXPECT_EQ(connectionAttempts, 1);  // one connection for every search of the run
}

TEST_F(Search, CellsShowTextAsStoredAndPricesThroughTheDisplayFormat) {
    struct Case {
        QString code;
        QString name;
        QString price;
    } cases[] = {
        {QStringLiteral("A&&B"), QStringLiteral("Dvostruki ampersand u šifri"),
         QStringLiteral("-1,234.57")},
        {QStringLiteral("B12"), QStringLiteral("Kratka šifra B12"), QStringLiteral("0.00")},
        {QStringLiteral("NULL-CIJENA"), QStringLiteral("Cijena je NULL"), QString()},
        {QStringLiteral("NULL-NAZIV"), QString(), QStringLiteral("5.50")},
        {QStringLiteral("SP-NAZIV"), QStringLiteral("  Naziv s razmacima na početku i kraju  "),
         QStringLiteral("9.99")},
        {QStringLiteral("UNI-02"), QStringLiteral("Znakovi izvan cp1250: Ω ≥ 日本 🔧"),
         QStringLiteral("1.50")},
        {QStringLiteral("abc-001"), QStringLiteral("Šifra malim slovima"),
         QStringLiteral("1,234,567.89")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code.toStdString());
        ApplySearchRule(*query, c.code);
        ASSERT_EQ(query->recordCount(), 1);
        EXPECT_EQ(query->cellText(0, 0), c.code);
        EXPECT_EQ(query->cellText(0, 1), c.name);
        EXPECT_EQ(query->cellText(0, 2), c.price);
        EXPECT_EQ(field("qDorvakCIJENA")->displayText(), c.price);
    }
    ApplySearchRule(*query, QStringLiteral("N255"));
    EXPECT_EQ(field("qDorvakNAZIV")->asString().size(), 255);  // read whole, not cut to 202
}

TEST_F(Search, NoMatchOpensAnEmptyResultThatNotifiesOnceAndReadsAsZero) {
    ApplySearchRule(*query, QStringLiteral("ZZZ-NEMA"));
    EXPECT_TRUE(query->isActive());
    EXPECT_TRUE(query->isEmpty());
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(query->recNo(), 0);
    EXPECT_TRUE(query->bof());
    EXPECT_TRUE(query->eof());
    EXPECT_TRUE(field("qDorvakCIJENA")->isNull());
    EXPECT_EQ(price(), 0.0);
    EXPECT_EQ(code(), QString());
    EXPECT_EQ(field("qDorvakCIJENA")->displayText(), QString());
    // Navigation on nothing notifies only for the requests that are carried out.
    query->next();
    query->prior();
    query->setRecNo(1);
    EXPECT_EQ(notifications, 1);
}

TEST_F(Search, TooShortTextOnlyShowsTheNoticeAndKeepsTheShownResult) {
    ApplySearchRule(*query, QStringLiteral("KOD"));
    ASSERT_EQ(query->recordCount(), 2);
    query->next();
    clearLog();
    // "🔧" is two UTF-16 units but one character.
    for (const QString& text :
         {QStringLiteral("AB"), QStringLiteral("  "), QString(), QStringLiteral("A🔧")}) {
        ApplySearchRule(*query, text);
    }
    EXPECT_EQ(notices, QStringList(4, QStringLiteral("Upišite barem 3 znaka u pretragu")));
    EXPECT_EQ(connectionAttempts, 1);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_TRUE(query->isActive());
    EXPECT_EQ(query->recNo(), 2);
    EXPECT_EQ(query->parameterByName(QStringLiteral("sifra")).text(), QStringLiteral("KOD%"));
}

TEST_F(Search, ASecondSearchClosesSilentlyAndNotifiesOnceForTheNewResult) {
    ApplySearchRule(*query, QStringLiteral("FIL-00"));
    query->last();
    clearLog();
    ApplySearchRule(*query, QStringLiteral("DUP"));
    EXPECT_EQ(log, (QStringList{"aboutToReset", "reset", "aboutToReset", "reset", "current 0",
                                "dataChange"}));
    EXPECT_EQ(query->recNo(), 1);
    EXPECT_EQ(code(), QStringLiteral("DUP-01"));
}

TEST_F(Search, MovesNotifyExactlyForTheRequestsTheResultCarriesOut) {
    ApplySearchRule(*query, QStringLiteral("FIL-000"));  // FIL-0001 .. FIL-0009
    ASSERT_EQ(query->recordCount(), 9);
    clearLog();
    query->prior();  // straight after the open: at-beginning
    EXPECT_EQ(notifications, 0);
    query->moveBy(0);
    EXPECT_EQ(notifications, 0);
    query->first();  // already there, still carried out
    EXPECT_EQ(notifications, 1);
    query->last();
    EXPECT_EQ(code(), QStringLiteral("FIL-0009"));
    EXPECT_EQ(notifications, 2);
    query->next();  // at-end: refused
    EXPECT_EQ(notifications, 2);
    query->setRecNo(8);
    query->setRecNo(8);  // same record: nothing
    EXPECT_EQ(notifications, 3);
    query->next();  // onto the last row
    query->next();  // runs into the end: same row, still notifies
    query->next();  // at-end now
    EXPECT_EQ(notifications, 5);
    EXPECT_EQ(query->recNo(), 9);
    query->moveBy(-3);
    EXPECT_EQ(code(), QStringLiteral("FIL-0006"));
    EXPECT_EQ(notifications, 6);
    EXPECT_EQ(log.count(QStringLiteral("current 5")), 1);
}

TEST_F(Search, ClosingKeepsTheConnectionAndNeverNotifies) {
    ApplySearchRule(*query, QStringLiteral("DUP"));
    clearLog();
    query->close();
    query->close();
    EXPECT_EQ(log, (QStringList{"aboutToReset", "reset"}));
    EXPECT_FALSE(query->isActive());
    EXPECT_EQ(query->rowCount(), 0);
    EXPECT_EQ(price(), 0.0);
    EXPECT_TRUE(query->isConnected());
    query->next();
    query->first();
    EXPECT_EQ(notifications, 0);
}

TEST_F(Search, ADataSourceNotifiesOnlyForTheQueryItIsSetTo) {
    Query* other = CreateDorvakQuery(&owner_);
    DataSource second;
    int secondNotifications = 0;
    QObject::connect(&second, &DataSource::dataChange, [&] { ++secondNotifications; });
    second.setDataSet(other);
    ApplySearchRule(*query, QStringLiteral("DUP"));
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(secondNotifications, 0);

    second.setDataSet(query);  // taking up an open query does not notify
    EXPECT_EQ(secondNotifications, 0);
    query->next();
    EXPECT_EQ(secondNotifications, 1);
    second.setDataSet(nullptr);
    query->first();
    EXPECT_EQ(secondNotifications, 1);
    EXPECT_EQ(notifications, 3);
}

TEST_F(Search, ALongTextIsBoundWholeAndGrowsTheParameter) {
    const QString text(600, QLatin1Char('X'));
    ApplySearchRule(*query, text);
    const Parameter& sifra = query->parameterByName(QStringLiteral("sifra"));
    EXPECT_EQ(sifra.size(), 601);
    EXPECT_EQ(sifra.text(), text + u'%');
    EXPECT_TRUE(query->isActive());
    EXPECT_EQ(query->recordCount(), 0);
    ApplySearchRule(*query, QStringLiteral("DUP"));
    EXPECT_EQ(sifra.size(), 601);
}

TEST_F(Search, OpenQueryWithListsOfDifferentLengthClosesAndShowsTheNotice) {
    ApplySearchRule(*query, QStringLiteral("DUP"));
    clearLog();
    OpenQuery(*query, {QStringLiteral("sifra")}, {});
    EXPECT_EQ(notices, QStringList{QStringLiteral("Greška!, krivi ulazni parametri")});
    EXPECT_FALSE(query->isActive());
    EXPECT_EQ(log, (QStringList{"aboutToReset", "reset"}));
    EXPECT_EQ(query->parameterByName(QStringLiteral("sifra")).text(), QStringLiteral("DUP%"));
}

TEST_F(Search, OpenQueryBindsByNameIgnoringCaseSkipsEmptyNamesAndReusesBoundValues) {
    OpenQuery(*query, {QString(), QStringLiteral("SIFRA")},
              {QStringLiteral("ignored%"), QStringLiteral("KOD%")});
    EXPECT_EQ(query->recordCount(), 2);
    clearLog();
    OpenQuery(*query, {}, {});  // re-runs with what was bound before
    EXPECT_EQ(query->recordCount(), 2);
    EXPECT_EQ(notifications, 1);
}

TEST_F(Search, AnUnknownParameterNameLeavesTheQueryClosedWithEarlierValuesBound) {
    ApplySearchRule(*query, QStringLiteral("DUP"));
    clearLog();
    const QString message = errorOf([&] {
        OpenQuery(*query,
                  {QStringLiteral("Sifra"), QStringLiteral("cijena"), QStringLiteral("sifra")},
                  {QStringLiteral("KOD%"), 1, QStringLiteral("never%")});
    });
    EXPECT_EQ(message, QStringLiteral("qDorvak: Parameter 'cijena' not found"));
    EXPECT_FALSE(query->isActive());
    EXPECT_EQ(query->rowCount(), 0);
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(query->parameterByName(QStringLiteral("sifra")).text(), QStringLiteral("KOD%"));
}

TEST_F(Search, AMissingFileFailsWithTheEngineTextAndTheNextSearchConnectsAgain) {
    QFile::remove(QStringLiteral("Dorvak.mdb"));
    const QString message = errorOf([&] { ApplySearchRule(*query, QStringLiteral("DUP")); });
    EXPECT_FALSE(message.isEmpty());
    EXPECT_FALSE(message.endsWith(u'.'));
    EXPECT_FALSE(message.endsWith(u' '));
    EXPECT_FALSE(query->isActive());
    EXPECT_FALSE(query->isConnected());
    EXPECT_EQ(notifications, 0);
    EXPECT_EQ(log, (QStringList{}));

    installDatabase(QStringLiteral("edge/Dorvak.mdb"));
    ApplySearchRule(*query, QStringLiteral("DUP"));
    EXPECT_EQ(query->recordCount(), 2);
    EXPECT_EQ(connectionAttempts, 2);
    ApplySearchRule(*query, QStringLiteral("KOD"));
    EXPECT_EQ(connectionAttempts, 2);
}

}  // namespace
}  // namespace dorvak
