#include "pricelist/Query.h"

#include <utility>

#include "jet/Database.h"
#include "jet/Error.h"
#include "jet/ResultSet.h"
#include "pricelist/DatabaseError.h"
#include "pricelist/Field.h"

namespace dorvak {

namespace {

// Names of parameters compare like the rest of the data layer's names: only
// a-z and A-Z are folded, so no locale can make two different names equal.
bool sameName(const QString& a, const QString& b) {
    if (a.size() != b.size()) return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        char16_t x = a.at(i).unicode();
        char16_t y = b.at(i).unicode();
        if (x >= u'A' && x <= u'Z') x = x - u'A' + u'a';
        if (y >= u'A' && y <= u'Z') y = y - u'A' + u'a';
        if (x != y) return false;
    }
    return true;
}

bool isNameStart(QChar c) {
    const char16_t u = c.unicode();
    return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || u == u'_';
}

bool isNameChar(QChar c) { return isNameStart(c) || (c >= u'0' && c <= u'9'); }

// The kind a column would get as a field of its own, in the names the error
// messages use.
QString columnKindName(const jet::Column& column) {
    switch (column.type) {
        case jet::ColumnType::Text:
            return QStringLiteral("WideString");
        case jet::ColumnType::Memo:
            return QStringLiteral("WideMemo");
        case jet::ColumnType::Long:
            return QStringLiteral("Integer");
        case jet::ColumnType::Integer:
            return QStringLiteral("Smallint");
        case jet::ColumnType::Byte:
            return QStringLiteral("Byte");
        case jet::ColumnType::Boolean:
            return QStringLiteral("Boolean");
        case jet::ColumnType::Single:
        case jet::ColumnType::Double:
            return QStringLiteral("Float");
        case jet::ColumnType::Currency:
            return QStringLiteral("Currency");
        case jet::ColumnType::Numeric:
            if (column.scale == 0 && column.precision < 10) return QStringLiteral("Integer");
            if (column.precision > 18 || column.scale > 4) return QStringLiteral("FMTBcd");
            return QStringLiteral("BCD");
        case jet::ColumnType::DateTime:
            return QStringLiteral("DateTime");
        case jet::ColumnType::Binary:
            return QStringLiteral("VarBytes");
        case jet::ColumnType::Ole:
            return QStringLiteral("Blob");
        case jet::ColumnType::Guid:
            return QStringLiteral("Guid");
        case jet::ColumnType::Complex:
            break;
    }
    return QStringLiteral("Unknown");
}

bool fits(Field::Kind kind, const jet::Column& column) {
    switch (kind) {
        case Field::Kind::WideString:
            return column.type == jet::ColumnType::Text;
        case Field::Kind::Float:
            switch (column.type) {
                case jet::ColumnType::Single:
                case jet::ColumnType::Double:
                case jet::ColumnType::Currency:
                    return true;
                case jet::ColumnType::Numeric:
                    // A whole-number decimal this short is read as an integer
                    // and so cannot serve as a price.
                    return !(column.scale == 0 && column.precision < 10);
                default:
                    return false;
            }
    }
    return false;
}

}  // namespace

Query::Query(QObject* parent)
    : QObject(parent), connector_([](const std::string& connectionString) {
          return jet::Database::openConnectionString(connectionString);
      }) {}

Query::~Query() = default;

void Query::setConnector(Connector connector) { connector_ = std::move(connector); }

Parameter& Query::addParameter(const Parameter& parameter) {
    parameters_.push_back(parameter);
    return parameters_.back();
}

Parameter* Query::findParameter(const QString& name) {
    for (Parameter& p : parameters_)
        if (sameName(p.name(), name)) return &p;
    return nullptr;
}

Parameter& Query::parameterByName(const QString& name) {
    if (Parameter* p = findParameter(name)) return *p;
    throw DatabaseError::forComponent(objectName(),
                                      QStringLiteral("Parameter '%1' not found").arg(name));
}

Field* Query::findField(const QString& fieldName) const {
    for (Field* f : fields_)
        if (sameName(f->fieldName(), fieldName)) return f;
    return nullptr;
}

std::string Query::engineStatement(std::vector<std::u16string>& values) {
    const QString text = statement_.join(QLatin1Char(' '));
    QString out;
    out.reserve(text.size());
    QChar quote;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();
            out += c;
        } else if (c == u'\'' || c == u'"') {
            quote = c;
            out += c;
        } else if (c == u':' && i + 1 < text.size() && text.at(i + 1) == u':') {
            out += c;
            ++i;
        } else if (c == u':' && i + 1 < text.size() && isNameStart(text.at(i + 1))) {
            qsizetype end = i + 1;
            while (end < text.size() && isNameChar(text.at(end))) ++end;
            const Parameter& p = parameterByName(text.mid(i + 1, end - i - 1));
            values.push_back(p.text().toStdU16String());
            out += u'?';
            i = end - 1;
        } else {
            out += c;
        }
    }
    return out.toUtf8().toStdString();
}

void Query::bindFields() {
    for (Field* f : fields_) {
        const int column = result_->columnIndex(f->fieldName().toUtf8().toStdString());
        if (column < 0)
            throw DatabaseError::forComponent(
                objectName(), QStringLiteral("Field '%1' not found").arg(f->fieldName()));
        const jet::Column& c = result_->columns().at(static_cast<std::size_t>(column));
        if (!fits(f->kind(), c))
            throw DatabaseError::forComponent(
                objectName(),
                QStringLiteral("Type mismatch for field '%1', expecting: %2 actual: %3")
                    .arg(f->fieldName(), f->kindName(), columnKindName(c)));
        f->column_ = column;
    }
}

void Query::open() {
    if (isActive()) return;
    std::vector<std::u16string> values;
    const std::string sql = engineStatement(values);
    const bool connectsNow = database_ == nullptr;
    try {
        if (connectsNow) database_ = connector_(connectionString_.toUtf8().toStdString());
        result_ = std::make_unique<jet::ResultSet>(database_->execute(sql, values));
        bindFields();
    } catch (...) {
        for (Field* f : fields_) f->column_ = -1;
        result_.reset();
        if (connectsNow) database_.reset();
        try {
            throw;
        } catch (const jet::Error& e) {
            throw DatabaseError::fromEngine(e);
        }
    }
    emit resultAboutToReset();
    cursor_.open(result_->rowCount());
    emit resultReset();
    announce();
}

void Query::close() {
    if (!isActive()) return;
    emit resultAboutToReset();
    cursor_.close();
    for (Field* f : fields_) f->column_ = -1;
    result_.reset();
    emit resultReset();
}

void Query::announce() {
    emit currentChanged(currentRow());
    emit dataSetChanged();
}

void Query::moveBy(int distance) {
    if (cursor_.moveBy(distance)) announce();
}

void Query::first() {
    if (cursor_.first()) announce();
}

void Query::last() {
    if (cursor_.last()) announce();
}

void Query::setRecNo(int recNo) {
    if (cursor_.setRecNo(recNo)) announce();
}

void Query::deleteCurrent() {
    if (!isActive())
        throw DatabaseError::forComponent(
            objectName(), QStringLiteral("Cannot perform this operation on a closed dataset"));
    if (isEmpty())
        throw DatabaseError::forComponent(
            objectName(), QStringLiteral("Cannot perform this operation on an empty dataset"));
    const int row = currentRow();
    const std::size_t rowsBefore = result_->rowCount();
    try {
        database_->deleteRow(*result_, static_cast<std::size_t>(row));
    } catch (const jet::Error& e) {
        throw DatabaseError::fromEngine(e);
    }
    // The cursor counts on the snapshot having lost exactly this row.
    if (result_->rowCount() == rowsBefore) result_->removeRow(static_cast<std::size_t>(row));
    // The engine has already dropped the row from the snapshot; until the
    // views have been warned they must still see the old rows, so reads are
    // mapped around the gap while the warning is out.
    removedRow_ = row;
    emit rowAboutToBeRemoved(row);
    removedRow_ = -1;
    cursor_.removeCurrent();
    emit rowRemoved(row);
    announce();
}

int Query::resultRow(int row) const {
    if (row < 0 || row >= rowCount()) return -1;
    if (removedRow_ < 0 || row < removedRow_) return row;
    return row == removedRow_ ? -1 : row - 1;
}

QString Query::cellText(int row, int column) const {
    if (column < 0 || column >= fields_.size()) return QString();
    return fields_.at(column)->displayTextAt(row);
}

}  // namespace dorvak
