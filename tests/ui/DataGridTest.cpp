// The grid turns keys and clicks into navigation requests and follows the
// record it is told; it never moves or edits on its own.
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>

#include "ui/DataGrid.h"
#include "ui/ResultTableModel.h"

using dorvak::DataGrid;
using dorvak::ResultTableModel;

class DataGridTest : public QObject {
    Q_OBJECT

private slots:
    void init() {
        model_ = new ResultTableModel(this);
        QList<ResultTableModel::Column> columns;
        for (const char* title : {"Šifra", "Naziv", "VPC kn"}) {
            ResultTableModel::Column column;
            column.title = QString::fromUtf8(title);
            column.text = [](int row) { return QString::number(row); };
            columns << column;
        }
        model_->setColumns(columns);
        model_->resetRows(100);
        grid_ = new DataGrid;
        grid_->setModel(model_);
        grid_->verticalHeader()->setDefaultSectionSize(20);
        grid_->resize(400, 400);
        grid_->show();
        QVERIFY(QTest::qWaitForWindowExposed(grid_));
        // The data source: applies each request, clamped, and reports back.
        requests_.clear();
        connect(grid_, &DataGrid::moveByRequested, this, [this](int n) {
            requests_ << QStringLiteral("moveBy %1").arg(n);
            grid_->showCurrentRecord(std::clamp(grid_->currentRecord() + n, 0, 99));
        });
        connect(grid_, &DataGrid::firstRequested, this, [this] {
            requests_ << QStringLiteral("first");
            grid_->showCurrentRecord(0);
        });
        connect(grid_, &DataGrid::lastRequested, this, [this] {
            requests_ << QStringLiteral("last");
            grid_->showCurrentRecord(99);
        });
        connect(grid_, &DataGrid::recNoRequested, this, [this](int recNo) {
            requests_ << QStringLiteral("recNo %1").arg(recNo);
            grid_->showCurrentRecord(recNo - 1);
        });
        connect(grid_, &DataGrid::deleteRequested, this,
                [this] { requests_ << QStringLiteral("delete"); });
    }
    void cleanup() {
        delete grid_;
        delete model_;
    }

    void keysBecomeRequests_data() {
        QTest::addColumn<int>("startRow");
        QTest::addColumn<int>("startColumn");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("request");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");

        const int none = Qt::NoModifier;
        const int ctrl = Qt::ControlModifier;
        const int page = visibleRows();
        QTest::newRow("down") << 10 << 1 << int(Qt::Key_Down) << none << "moveBy 1" << 11 << 1;
        QTest::newRow("up") << 10 << 1 << int(Qt::Key_Up) << none << "moveBy -1" << 9 << 1;
        QTest::newRow("page down by the visible rows")
            << 0 << 0 << int(Qt::Key_PageDown) << none << QStringLiteral("moveBy %1").arg(page)
            << page << 0;
        QTest::newRow("page up by the visible rows")
            << 50 << 0 << int(Qt::Key_PageUp) << none << QStringLiteral("moveBy -%1").arg(page)
            << 50 - page << 0;
        QTest::newRow("ctrl+down to the bottom visible row")
            << 2 << 0 << int(Qt::Key_Down) << ctrl << QStringLiteral("moveBy %1").arg(page - 3)
            << page - 1 << 0;
        QTest::newRow("ctrl+page down to the bottom visible row")
            << 2 << 0 << int(Qt::Key_PageDown) << ctrl << QStringLiteral("moveBy %1").arg(page - 3)
            << page - 1 << 0;
        QTest::newRow("ctrl+up to the top visible row")
            << 3 << 0 << int(Qt::Key_Up) << ctrl << "moveBy -3" << 0 << 0;
        QTest::newRow("ctrl+up on the top row asks nothing")
            << 0 << 0 << int(Qt::Key_Up) << ctrl << "" << 0 << 0;
        QTest::newRow("ctrl+home") << 7 << 2 << int(Qt::Key_Home) << ctrl << "first" << 0 << 2;
        QTest::newRow("ctrl+end") << 7 << 2 << int(Qt::Key_End) << ctrl << "last" << 99 << 2;
        QTest::newRow("right stays on the row")
            << 7 << 0 << int(Qt::Key_Right) << none << "" << 7 << 1;
        QTest::newRow("right stops at the last column")
            << 7 << 2 << int(Qt::Key_Right) << none << "" << 7 << 2;
        QTest::newRow("left stops at the first column")
            << 7 << 0 << int(Qt::Key_Left) << none << "" << 7 << 0;
        QTest::newRow("home") << 7 << 2 << int(Qt::Key_Home) << none << "" << 7 << 0;
        QTest::newRow("end") << 7 << 0 << int(Qt::Key_End) << none << "" << 7 << 2;
        QTest::newRow("tab inside the row") << 7 << 0 << int(Qt::Key_Tab) << none << "" << 7 << 1;
        QTest::newRow("tab wraps to the next row")
            << 7 << 2 << int(Qt::Key_Tab) << none << "moveBy 1" << 8 << 0;
        QTest::newRow("shift+tab wraps to the previous row")
            << 7 << 0 << int(Qt::Key_Backtab) << int(Qt::ShiftModifier) << "moveBy -1" << 6 << 2;
        QTest::newRow("ctrl+delete") << 7 << 1 << int(Qt::Key_Delete) << ctrl << "delete" << 7 << 1;
        QTest::newRow("delete alone does nothing")
            << 7 << 1 << int(Qt::Key_Delete) << none << "" << 7 << 1;
        QTest::newRow("insert adds nothing")
            << 7 << 1 << int(Qt::Key_Insert) << none << "" << 7 << 1;
        QTest::newRow("typing edits nothing") << 7 << 1 << int(Qt::Key_A) << none << "" << 7 << 1;
    }
    void keysBecomeRequests() {
        QFETCH(int, startRow);
        QFETCH(int, startColumn);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, request);
        QFETCH(int, row);
        QFETCH(int, column);

        grid_->setFocus();
        grid_->showCurrentRecord(startRow);
        for (int i = 0; i < startColumn; ++i) QTest::keyClick(grid_, Qt::Key_Right);
        requests_.clear();

        QTest::keyClick(grid_, Qt::Key(key), Qt::KeyboardModifiers(modifiers));

        QCOMPARE(requests_.join(QLatin1Char('|')), request);
        QCOMPARE(grid_->currentRecord(), row);
        QCOMPARE(grid_->currentIndex().row(), row);
        QCOMPARE(grid_->currentIndex().column(), column);
        QVERIFY(!grid_->isPersistentEditorOpen(grid_->currentIndex()));
    }

    void tabNeverLeavesTheGrid() {
        QWidget window;
        auto* before = new QWidget(&window);
        before->setFocusPolicy(Qt::StrongFocus);
        grid_->setParent(&window);
        auto* after = new QWidget(&window);
        after->setFocusPolicy(Qt::StrongFocus);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        grid_->setFocus();
        grid_->showCurrentRecord(0);
        for (int i = 0; i < 7; ++i) QTest::keyClick(grid_, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grid_);
        QCOMPARE(grid_->currentRecord(), 2);
        grid_->setParent(nullptr);
    }

    void aClickOnAnotherRowAsksForItsRecordNumber() {
        grid_->showCurrentRecord(0);
        const QRect cell = grid_->visualRect(model_->index(3, 1));
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(requests_, QStringList{QStringLiteral("recNo 4")});
        QCOMPARE(grid_->currentIndex(), model_->index(3, 1));
        QTest::mouseClick(grid_->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(requests_.size(), 1);
    }

    void theScrollBarMovesTheCurrentRecord() {
        grid_->showCurrentRecord(0);
        QScrollBar* bar = grid_->verticalScrollBar();
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        QCOMPARE(requests_, (QStringList{QStringLiteral("moveBy 1"),
                                         QStringLiteral("moveBy %1").arg(grid_->visibleRowCount()),
                                         QStringLiteral("last")}));
        QCOMPARE(grid_->currentRecord(), 99);
        QVERIFY(grid_->visualRect(grid_->currentIndex()).intersects(grid_->viewport()->rect()));
    }

    void anEmptyResultAsksNothing() {
        model_->resetRows(0);
        grid_->showCurrentRecord(-1);
        grid_->setFocus();
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Delete})
            QTest::keyClick(grid_, key, Qt::ControlModifier);
        QTest::keyClick(grid_, Qt::Key_Tab);
        QVERIFY(requests_.isEmpty());
        QVERIFY(!grid_->currentIndex().isValid());
    }

private:
    int visibleRows() {
        // The data function runs before init(): measure on a grid of our own.
        ResultTableModel model;
        DataGrid grid;
        grid.setModel(&model);
        grid.verticalHeader()->setDefaultSectionSize(20);
        grid.resize(400, 400);
        grid.show();
        return grid.visibleRowCount();
    }

    ResultTableModel* model_ = nullptr;
    DataGrid* grid_ = nullptr;
    QStringList requests_;
};

QTEST_MAIN(DataGridTest)
#include "DataGridTest.moc"
