// The price-list grid. It never moves its own current row: every key or click
// that would move it becomes a navigation request to the data source, and the
// grid follows the record the data source reports back through
// showCurrentRecord(). That keeps one cursor, so the price labels and the grid
// can never disagree about the current article.
#pragma once

#include <QTableView>

namespace dorvak {

class DataGrid : public QTableView {
    Q_OBJECT

public:
    explicit DataGrid(QWidget* parent = nullptr);

    // Shows 0-based `row` as the current row (-1: none) and keeps it visible.
    void showCurrentRecord(int row);
    int currentRecord() const { return currentRecord_; }

    // Rows that fit entirely in the viewport, at least 1.
    int visibleRowCount() const;
    // First row drawn at the top of the viewport.
    int topRow() const;

signals:
    void moveByRequested(int distance);
    void firstRequested();
    void lastRequested();
    // 1-based record number.
    void recNoRequested(int recNo);
    void deleteRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void scrollBarAction(int action);
    void setCurrentColumn(int column);
    void requestMove(int distance);
    int logicalColumnAtVisual(int visual) const;

    int currentRecord_ = -1;
    int currentVisualColumn_ = 0;
};

}  // namespace dorvak
