// The grid's table model over an open query result. It holds no copy of the
// rows: a million-row result costs nothing at open, and every cell is read
// through its column's reader only when the view paints it.
#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QList>
#include <QString>
#include <functional>

namespace dorvak {

class ResultTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // One grid column: how it reads a cell at a 0-based row, its title, and
    // how it draws. The reader is asked only for rows below rowCount().
    struct Column {
        std::function<QString(int row)> text;
        QString title;
        QFont cellFont;
        Qt::Alignment titleAlignment = Qt::AlignLeft | Qt::AlignVCenter;
        Qt::Alignment cellAlignment = Qt::AlignLeft | Qt::AlignVCenter;
    };

    explicit ResultTableModel(QObject* parent = nullptr);

    void setColumns(const QList<Column>& columns);
    const QList<Column>& columns() const { return columns_; }

    // The result now has `rowCount` rows (0 when closed or empty); every cell
    // is read afresh.
    void resetRows(int rowCount);
    // A row already left the result. The rows are read afresh rather than
    // reported as one removal: by now the storage no longer holds the row, and
    // a view told of a removal may still ask for the old rows' data.
    void removeResultRow();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    QList<Column> columns_;
    int rowCount_ = 0;
};

}  // namespace dorvak
