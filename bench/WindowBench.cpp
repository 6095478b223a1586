// The grid must stay instant on a million articles: nothing per row at open,
// and a jump or a move repaints only the visible rows.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>

#include "ui/DataGrid.h"
#include "ui/ResultTableModel.h"

using dorvak::DataGrid;
using dorvak::ResultTableModel;

namespace {

constexpr int kRows = 1'000'000;

struct Grid {
    ResultTableModel model;
    DataGrid view;

    Grid() {
        QList<ResultTableModel::Column> columns;
        for (int c = 0; c < 3; ++c) {
            ResultTableModel::Column column;
            column.title = QStringLiteral("C%1").arg(c);
            column.text = [c](int row) { return QString::number(row * 3 + c); };
            columns << column;
        }
        model.setColumns(columns);
        view.setModel(&model);
        view.verticalHeader()->setDefaultSectionSize(25);
        view.resize(797, 443);
        view.show();
        // The data source: applies each request and reports the new row back.
        QObject::connect(&view, &DataGrid::moveByRequested, &view, [this](int n) {
            view.showCurrentRecord(std::clamp(view.currentRecord() + n, 0, model.rowCount() - 1));
        });
        QObject::connect(&view, &DataGrid::lastRequested, &view,
                         [this] { view.showCurrentRecord(model.rowCount() - 1); });
        QObject::connect(&view, &DataGrid::firstRequested, &view,
                         [this] { view.showCurrentRecord(0); });
    }

    void paint() { view.viewport()->repaint(); }

    void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent press(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(&view, &press);
    }
};

void BM_OpenAMillionRows(benchmark::State& state) {
    Grid grid;
    for (auto _ : state) {
        grid.model.resetRows(0);
        grid.model.resetRows(kRows);
        grid.view.showCurrentRecord(0);
        grid.paint();
    }
}
BENCHMARK(BM_OpenAMillionRows)->Unit(benchmark::kMillisecond);

void BM_CtrlEndAndBack(benchmark::State& state) {
    Grid grid;
    grid.model.resetRows(kRows);
    grid.view.showCurrentRecord(0);
    for (auto _ : state) {
        grid.key(Qt::Key_End, Qt::ControlModifier);
        grid.paint();
        grid.key(Qt::Key_Home, Qt::ControlModifier);
        grid.paint();
    }
}
BENCHMARK(BM_CtrlEndAndBack)->Unit(benchmark::kMillisecond);

void BM_OneMoveDown(benchmark::State& state) {
    Grid grid;
    grid.model.resetRows(kRows);
    grid.view.showCurrentRecord(kRows / 2);
    for (auto _ : state) {
        grid.key(Qt::Key_Down);
        grid.paint();
        grid.key(Qt::Key_Up);
        grid.paint();
    }
}
BENCHMARK(BM_OneMoveDown)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
