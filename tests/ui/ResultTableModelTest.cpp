// The grid model reads cells on demand and tells views about every change in
// the order QAbstractItemModelTester checks.
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include "ui/ResultTableModel.h"

using dorvak::ResultTableModel;

class ResultTableModelTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        model_ = new ResultTableModel(this);
        tester_ = new QAbstractItemModelTester(
            model_, QAbstractItemModelTester::FailureReportingMode::QtTest, model_);
        reads_ = 0;
        ResultTableModel::Column code;
        code.title = QStringLiteral("Šifra");
        code.text = [this](int row) {
            ++reads_;
            return QStringLiteral("K%1").arg(rows_.value(row));
        };
        ResultTableModel::Column price;
        price.title = QStringLiteral("VPC kn");
        price.titleAlignment = Qt::AlignRight | Qt::AlignVCenter;
        price.cellAlignment = Qt::AlignRight | Qt::AlignVCenter;
        price.text = [this](int row) { return QString::number(rows_.value(row)); };
        model_->setColumns({code, price});
    }
    void cleanup() {
        delete model_;
        rows_.clear();
    }

    void aMillionRowsOpenWithoutReadingACell() {
        model_->resetRows(1'000'000);
        QCOMPARE(model_->rowCount(), 1'000'000);
        // The tester samples a few cells; nothing reads every row.
        QVERIFY(reads_ < 100);
        rows_ = {7};
        reads_ = 0;
        QCOMPARE(model_->index(0, 0).data().toString(), QStringLiteral("K7"));
        QCOMPARE(reads_, 1);
    }

    void titlesAndAlignmentsComeFromTheColumns() {
        QCOMPARE(model_->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Šifra"));
        QCOMPARE(
            model_->headerData(1, Qt::Horizontal, Qt::TextAlignmentRole).value<Qt::Alignment>(),
            Qt::AlignRight | Qt::AlignVCenter);
        model_->resetRows(1);
        QCOMPARE(model_->index(0, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
                 Qt::AlignRight | Qt::AlignVCenter);
        QVERIFY(!(model_->flags(model_->index(0, 0)) & Qt::ItemIsEditable));
    }

    void removingARowMovesTheFollowingRowsUpAndStopsAtEmpty() {
        rows_ = {1, 2, 3};
        model_->resetRows(3);
        QSignalSpy reset(model_, &QAbstractItemModel::modelReset);
        rows_.removeAt(1);
        model_->removeResultRow();
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model_->rowCount(), 2);
        QCOMPARE(model_->index(1, 1).data().toString(), QStringLiteral("3"));
        rows_.clear();
        model_->removeResultRow();
        model_->removeResultRow();
        model_->removeResultRow();
        QCOMPARE(model_->rowCount(), 0);
        QCOMPARE(reset.count(), 3);
    }

    void closingLeavesNoRows() {
        model_->resetRows(3);
        QSignalSpy reset(model_, &QAbstractItemModel::modelReset);
        model_->resetRows(0);
        QCOMPARE(reset.count(), 1);
        QCOMPARE(model_->rowCount(), 0);
        QVERIFY(!model_->index(0, 0).isValid());
    }

private:
    ResultTableModel* model_ = nullptr;
    QAbstractItemModelTester* tester_ = nullptr;
    QList<int> rows_;
    int reads_ = 0;
};

QTEST_MAIN(ResultTableModelTest)
#include "ResultTableModelTest.moc"
