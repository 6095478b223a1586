// Deleting the current article: which row is current afterwards, what the
// views and the data source are told, and a delete the database refuses.
#include "PriceListFixture.h"
#include "jet/Error.h"
#include "pricelist/DatabaseError.h"
#include "pricelist/SearchRule.h"

namespace dorvak {
namespace {

class Delete : public PriceListFixture {
protected:
    void SetUp() override {
        PriceListFixture::SetUp();
        installDatabase(QStringLiteral("edge/Dorvak.mdb"));
    }

    // Deletes the current row; false when this engine cannot delete yet.
    bool deleteCurrent() {
        try {
            query->deleteCurrent();
            return true;
        } catch (const DatabaseError& e) {
            if (e.engineCategory() == jet::ErrorCategory::NotSupported) return false;
            throw;
        }
    }

    // What a fresh run finds in the file for `text`.
    QStringList codesInFile(const QString& text) {
        Query* other = CreateDorvakQuery(&owner_);
        ApplySearchRule(*other, text);
        QStringList all;
        for (int row = 0; row < other->rowCount(); ++row)
            all << other->fields().at(0)->asStringAt(row);
        delete other;
        return all;
    }
};

TEST_F(Delete, TheFollowingRowBecomesCurrentElseThePreviousAndTheTableLosesTheRow) {
    ApplySearchRule(*query, QStringLiteral("FIL-000"));  // FIL-0001 .. FIL-0009
    ASSERT_EQ(query->recordCount(), 9);
    clearLog();
    if (!deleteCurrent()) GTEST_SKIP() << "the engine cannot delete rows yet";
    EXPECT_EQ(log, (QStringList{"aboutToRemove 0", "removed 0", "current 0", "dataChange"}));
    EXPECT_EQ(code(), QStringLiteral("FIL-0002"));
    EXPECT_EQ(query->recordCount(), 8);

    query->setRecNo(4);  // FIL-0005, a middle row
    clearLog();
    ASSERT_TRUE(deleteCurrent());
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(code(), QStringLiteral("FIL-0006"));
    EXPECT_EQ(query->recNo(), 4);

    query->last();  // FIL-0009
    clearLog();
    ASSERT_TRUE(deleteCurrent());
    EXPECT_EQ(log, (QStringList{"aboutToRemove 6", "removed 6", "current 5", "dataChange"}));
    EXPECT_EQ(code(), QStringLiteral("FIL-0008"));
    EXPECT_EQ(query->recNo(), 6);
    EXPECT_FALSE(query->eof());

    const QStringList left{"FIL-0002", "FIL-0003", "FIL-0004", "FIL-0006", "FIL-0007", "FIL-0008"};
    EXPECT_EQ(codes(), left);
    EXPECT_EQ(codesInFile(QStringLiteral("FIL-000")), left);
}

TEST_F(Delete, ViewsStillReadTheOldRowsWhileWarnedOfTheRemoval) {
    ApplySearchRule(*query, QStringLiteral("FIL-000"));
    query->setRecNo(3);
    QStringList seen;
    QObject::connect(query, &Query::rowAboutToBeRemoved, [&](int row) {
        seen << query->cellText(row - 1, 0) << query->cellText(row + 1, 0)
             << QString::number(query->rowCount());
    });
    QObject::connect(query, &Query::rowRemoved, [&](int row) {
        seen << query->cellText(row - 1, 0) << query->cellText(row, 0)
             << QString::number(query->rowCount());
    });
    if (!deleteCurrent()) GTEST_SKIP() << "the engine cannot delete rows yet";
    EXPECT_EQ(seen, (QStringList{"FIL-0002", "FIL-0004", "9", "FIL-0002", "FIL-0004", "8"}));
}

TEST_F(Delete, DeletingTheOnlyRowLeavesAnEmptyResultThatReadsAsZero) {
    ApplySearchRule(*query, QStringLiteral("KOD1"));
    ASSERT_EQ(codes(), QStringList{QStringLiteral("KOD1")});
    clearLog();
    if (!deleteCurrent()) GTEST_SKIP() << "the engine cannot delete rows yet";
    EXPECT_EQ(log, (QStringList{"aboutToRemove 0", "removed 0", "current -1", "dataChange"}));
    EXPECT_TRUE(query->isActive());
    EXPECT_TRUE(query->isEmpty());
    EXPECT_EQ(query->recNo(), 0);
    EXPECT_EQ(price(), 0.0);
    EXPECT_THROW(query->deleteCurrent(), DatabaseError);
    EXPECT_EQ(notifications, 1);
    EXPECT_EQ(codesInFile(QStringLiteral("KOD1")), QStringList{});
}

TEST_F(Delete, ARefusedDeleteRaisesTheEngineTextAndKeepsTheRow) {
    installDatabase(QStringLiteral("relations/Dorvak.mdb"));
    ApplySearchRule(*query, QStringLiteral("VAL-232519"));  // three orders refer to it
    ASSERT_EQ(query->recordCount(), 1);
    clearLog();
    try {
        query->deleteCurrent();
        ADD_FAILURE() << "deleted";
    } catch (const DatabaseError& e) {
        const QString message = e.message();
        if (e.engineCategory() == jet::ErrorCategory::NotSupported)
            GTEST_SKIP() << "the engine cannot delete rows yet";
        EXPECT_EQ(e.engineCategory(), jet::ErrorCategory::Conflict);
        EXPECT_FALSE(message.isEmpty());
        EXPECT_FALSE(message.endsWith(u'.'));
    }
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(query->recordCount(), 1);
    EXPECT_EQ(code(), QStringLiteral("VAL-232519"));
    EXPECT_EQ(codesInFile(QStringLiteral("VAL-232519")), QStringList{QStringLiteral("VAL-232519")});
}

TEST_F(Delete, AClosedQueryCannotDelete) {
    EXPECT_THROW(query->deleteCurrent(), DatabaseError);
    EXPECT_TRUE(log.isEmpty());
}

}  // namespace
}  // namespace dorvak
