#include "pricelist/Field.h"

#include "jet/ResultSet.h"
#include "pricelist/Query.h"
#include "pricing/NumberText.h"

namespace dorvak {

Field::Field(Query* query, const QString& objectName, const QString& fieldName, Kind kind, int size)
    : QObject(query), query_(query), fieldName_(fieldName), kind_(kind), size_(size) {
    setObjectName(objectName);
    if (kind == Kind::Float) alignment_ = Qt::AlignRight | Qt::AlignVCenter;
    query->fields_.append(this);
}

QString Field::kindName() const {
    return kind_ == Kind::WideString ? QStringLiteral("WideString") : QStringLiteral("Float");
}

bool Field::isNull() const { return isNullAt(query_->currentRow()); }
QString Field::asString() const { return asStringAt(query_->currentRow()); }
double Field::asFloat() const { return asFloatAt(query_->currentRow()); }
QString Field::displayText() const { return displayTextAt(query_->currentRow()); }

bool Field::isNullAt(int row) const {
    const jet::ResultSet* result = query_->result();
    const int at = query_->resultRow(row);
    if (!result || column_ < 0 || at < 0) return true;
    return result->isNull(static_cast<std::size_t>(at), static_cast<std::size_t>(column_));
}

QString Field::asStringAt(int row) const {
    if (isNullAt(row)) return QString();
    if (kind_ == Kind::Float) return QString::fromStdString(FormatGeneral(asFloatAt(row)));
    const auto at = static_cast<std::size_t>(query_->resultRow(row));
    return QString::fromStdU16String(query_->result()->text(at, static_cast<std::size_t>(column_)));
}

double Field::asFloatAt(int row) const {
    if (isNullAt(row)) return 0.0;
    if (kind_ == Kind::WideString) {
        try {
            return ParseDouble(asStringAt(row).toStdString());
        } catch (const NumberFormatError&) {
            return 0.0;
        }
    }
    const auto at = static_cast<std::size_t>(query_->resultRow(row));
    return query_->result()->number(at, static_cast<std::size_t>(column_));
}

QString Field::displayTextAt(int row) const {
    if (kind_ == Kind::WideString || displayFormat_.isEmpty()) return asStringAt(row);
    if (isNullAt(row)) return QString();
    return QString::fromStdString(FormatFloat(displayFormat_.toStdString(), asFloatAt(row)));
}

}  // namespace dorvak
