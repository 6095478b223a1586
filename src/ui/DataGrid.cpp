#include "ui/DataGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace dorvak {

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setTabKeyNavigation(true);
    setShowGrid(false);
    setWordWrap(false);
    // Long texts are cut at the cell's edge, not shortened with an ellipsis.
    setTextElideMode(Qt::ElideNone);
    setCornerButtonEnabled(false);
    setFocusPolicy(Qt::StrongFocus);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsMovable(true);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setStretchLastSection(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    // The scroll bar moves the current article, like the keys, so what the
    // price labels show never scrolls out of sight.
    connect(verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            &DataGrid::scrollBarAction);
}

void DataGrid::scrollBarAction(int action) {
    if (!model() || model()->rowCount() == 0) return;
    switch (action) {
        case QAbstractSlider::SliderSingleStepAdd:
            requestMove(1);
            break;
        case QAbstractSlider::SliderSingleStepSub:
            requestMove(-1);
            break;
        case QAbstractSlider::SliderPageStepAdd:
            requestMove(visibleRowCount());
            break;
        case QAbstractSlider::SliderPageStepSub:
            requestMove(-visibleRowCount());
            break;
        case QAbstractSlider::SliderToMinimum:
            emit firstRequested();
            break;
        case QAbstractSlider::SliderToMaximum:
            emit lastRequested();
            break;
        case QAbstractSlider::SliderMove: {
            const int row =
                std::clamp(verticalScrollBar()->sliderPosition(), 0, model()->rowCount() - 1);
            if (row != currentRecord_) emit recNoRequested(row + 1);
            break;
        }
        default:
            break;
    }
}

void DataGrid::showCurrentRecord(int row) {
    currentRecord_ = model() && row >= 0 && row < model()->rowCount() ? row : -1;
    if (!model() || !selectionModel()) return;
    if (currentRecord_ < 0) {
        selectionModel()->clear();
        viewport()->update();
        return;
    }
    const QModelIndex index =
        model()->index(currentRecord_, logicalColumnAtVisual(currentVisualColumn_));
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    scrollTo(index);
    viewport()->update();
}

int DataGrid::visibleRowCount() const {
    const int rowHeight = verticalHeader()->defaultSectionSize();
    if (rowHeight <= 0) return 1;
    return std::max(1, viewport()->height() / rowHeight);
}

int DataGrid::topRow() const {
    const int row = rowAt(0);
    return row < 0 ? 0 : row;
}

int DataGrid::logicalColumnAtVisual(int visual) const {
    const int logical = horizontalHeader()->logicalIndex(visual);
    return logical < 0 ? 0 : logical;
}

void DataGrid::setCurrentColumn(int visual) {
    const int count = model() ? model()->columnCount() : 0;
    if (count == 0) return;
    currentVisualColumn_ = std::clamp(visual, 0, count - 1);
    showCurrentRecord(currentRecord_);
}

void DataGrid::requestMove(int distance) {
    if (distance != 0) emit moveByRequested(distance);
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const int columns = model() ? model()->columnCount() : 0;
    const bool hasRows = model() && model()->rowCount() > 0;
    const int top = topRow();
    const int current = currentRecord_ < 0 ? 0 : currentRecord_;
    const int lastVisible =
        std::min(top + visibleRowCount(), model() ? model()->rowCount() : 0) - 1;

    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_PageUp:
            if (ctrl)
                requestMove(top - current);
            else
                requestMove(event->key() == Qt::Key_Up ? -1 : -visibleRowCount());
            break;
        case Qt::Key_Down:
        case Qt::Key_PageDown:
            if (ctrl)
                requestMove(lastVisible - current);
            else
                requestMove(event->key() == Qt::Key_Down ? 1 : visibleRowCount());
            break;
        case Qt::Key_Home:
            if (ctrl)
                emit firstRequested();
            else
                setCurrentColumn(0);
            break;
        case Qt::Key_End:
            if (ctrl)
                emit lastRequested();
            else
                setCurrentColumn(columns - 1);
            break;
        case Qt::Key_Left:
            setCurrentColumn(currentVisualColumn_ - 1);
            break;
        case Qt::Key_Right:
            setCurrentColumn(currentVisualColumn_ + 1);
            break;
        case Qt::Key_Tab:
            if (currentVisualColumn_ < columns - 1) {
                setCurrentColumn(currentVisualColumn_ + 1);
            } else if (hasRows) {
                // The column wraps before the move, so the row the move lands on
                // is shown with its first cell current.
                currentVisualColumn_ = 0;
                requestMove(1);
                showCurrentRecord(currentRecord_);
            }
            break;
        case Qt::Key_Backtab:
            if (currentVisualColumn_ > 0) {
                setCurrentColumn(currentVisualColumn_ - 1);
            } else if (hasRows) {
                currentVisualColumn_ = std::max(0, columns - 1);
                requestMove(-1);
                showCurrentRecord(currentRecord_);
            }
            break;
        case Qt::Key_Delete:
            if (ctrl && hasRows && currentRecord_ >= 0) emit deleteRequested();
            break;
        default:
            // Nothing else of the view's own: no editing, no keyboard search.
            event->ignore();
            return;
    }
    event->accept();
}

bool DataGrid::focusNextPrevChild(bool next) {
    // Tab never leaves the grid: it is a cell move inside it.
    QKeyEvent key(QEvent::KeyPress, next ? Qt::Key_Tab : Qt::Key_Backtab, Qt::NoModifier);
    keyPressEvent(&key);
    return true;
}

void DataGrid::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->position().toPoint());
    if (!index.isValid()) return;
    currentVisualColumn_ = horizontalHeader()->visualIndex(index.column());
    if (index.row() != currentRecord_) emit recNoRequested(index.row() + 1);
    showCurrentRecord(currentRecord_);
}

void DataGrid::mouseMoveEvent(QMouseEvent*) {
    // Dragging selects nothing: the current row is the data source's.
}

void DataGrid::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void DataGrid::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (!model() || !horizontalHeader()) return;

    QPainter painter(viewport());
    const int rowHeight = verticalHeader()->defaultSectionSize();
    const int rows = model()->rowCount();
    // A closed or empty result still shows one blank row under the titles.
    const int bottom = rows == 0 ? rowHeight : std::min(viewport()->height(), rowHeight * rows);
    painter.setPen(palette().color(QPalette::Mid));
    for (int visual = 0; visual < model()->columnCount(); ++visual) {
        const int logical = horizontalHeader()->logicalIndex(visual);
        const int x = columnViewportPosition(logical) + columnWidth(logical) - 1;
        painter.drawLine(x, 0, x, bottom - 1);
    }
}

}  // namespace dorvak
