#include "ui/ResultTableModel.h"

namespace dorvak {

ResultTableModel::ResultTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void ResultTableModel::setColumns(const QList<Column>& columns) {
    beginResetModel();
    columns_ = columns;
    endResetModel();
}

void ResultTableModel::resetRows(int rowCount) {
    beginResetModel();
    rowCount_ = rowCount < 0 ? 0 : rowCount;
    endResetModel();
}

void ResultTableModel::removeResultRow() {
    if (rowCount_ > 0) resetRows(rowCount_ - 1);
}

int ResultTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rowCount_;
}

int ResultTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant ResultTableModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Column& column = columns_.at(index.column());
    switch (role) {
        case Qt::DisplayRole:
            return column.text ? column.text(index.row()) : QString();
        case Qt::FontRole:
            return column.cellFont;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(column.cellAlignment);
        default:
            return {};
    }
}

QVariant ResultTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columns_.size()) return {};
    const Column& column = columns_.at(section);
    switch (role) {
        case Qt::DisplayRole:
            return column.title;
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(column.titleAlignment);
        default:
            return {};
    }
}

Qt::ItemFlags ResultTableModel::flags(const QModelIndex& index) const {
    // Selectable for the current-cell highlight, never editable.
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
}

}  // namespace dorvak
