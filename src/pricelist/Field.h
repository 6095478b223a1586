// A declared field component of a query: one named column of its result, of a
// fixed kind, read at the query's current row or at any row for views.
#pragma once

#include <QObject>
#include <QString>

namespace dorvak {

class Query;

class Field : public QObject {
    Q_OBJECT

public:
    enum class Kind { WideString, Float };

    // The field belongs to `query` (its parent) and appears in query->fields().
    Field(Query* query, const QString& objectName, const QString& fieldName, Kind kind, int size);

    const QString& fieldName() const { return fieldName_; }
    Kind kind() const { return kind_; }
    // The kind's name in error messages: "WideString" or "Float".
    QString kindName() const;
    // Declared size in characters (0 for Float). It limits nothing on reading.
    int size() const { return size_; }
    // The picture used by displayText() for Float fields ("" for text).
    const QString& displayFormat() const { return displayFormat_; }
    void setDisplayFormat(const QString& format) { displayFormat_ = format; }
    Qt::Alignment alignment() const { return alignment_; }
    void setAlignment(Qt::Alignment alignment) { alignment_ = alignment; }

    // Values at the current row. With no current row (closed or empty result)
    // the field reads as null: "" as text, 0 as a number.
    bool isNull() const;
    QString asString() const;
    double asFloat() const;
    // Text as a grid shows it: text fields as stored, Float fields through the
    // display format; null shows as "".
    QString displayText() const;

    // The same at 0-based `row` of an open result, for views that read cells
    // on demand. Out-of-range rows read as null.
    bool isNullAt(int row) const;
    QString asStringAt(int row) const;
    double asFloatAt(int row) const;
    QString displayTextAt(int row) const;

    // Column of the open result this field reads, -1 when unbound.
    int columnIndex() const { return column_; }

private:
    friend class Query;

    Query* query_;
    QString fieldName_;
    Kind kind_;
    int size_;
    QString displayFormat_;
    Qt::Alignment alignment_ = Qt::AlignLeft | Qt::AlignVCenter;
    int column_ = -1;
};

}  // namespace dorvak
