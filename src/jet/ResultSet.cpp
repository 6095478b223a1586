#include "jet/ResultSet.h"

#include <cstring>

#include "jet/detail/ResultSetStorage.h"

namespace jet {

void ResultSet::Storage::appendBytes(const std::uint8_t* data, std::size_t size) {
    cells.push_back(Cell{static_cast<std::uint32_t>(pool.size()), static_cast<std::uint32_t>(size)});
    pool.insert(pool.end(), data, data + size);
}

void ResultSet::Storage::appendText(const char16_t* data, std::size_t length) {
    std::size_t at = pool.size();
    cells.push_back(Cell{static_cast<std::uint32_t>(at), static_cast<std::uint32_t>(length * 2)});
    pool.resize(at + length * 2);
    if (length) std::memcpy(pool.data() + at, data, length * 2);
}

ResultSet::ResultSet() : storage_(std::make_shared<Storage>()) {}
ResultSet::~ResultSet() = default;
ResultSet::ResultSet(const ResultSet&) = default;
ResultSet& ResultSet::operator=(const ResultSet&) = default;
ResultSet::ResultSet(ResultSet&&) noexcept = default;
ResultSet& ResultSet::operator=(ResultSet&&) noexcept = default;
ResultSet::ResultSet(std::shared_ptr<Storage> storage) : storage_(std::move(storage)) {}

ResultSet::Storage& ResultSet::storage() {
    // Copies share their rows until one of them changes.
    if (storage_.use_count() > 1) storage_ = std::make_shared<Storage>(*storage_);
    return *storage_;
}
const ResultSet::Storage& ResultSet::storage() const { return *storage_; }

const std::string& ResultSet::tableName() const { return storage_->tableName; }
const std::vector<Column>& ResultSet::columns() const { return storage_->columns; }

int ResultSet::columnIndex(std::string_view name) const {
    const auto& cols = storage_->columns;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        const std::string& n = cols[i].name;
        if (n.size() != name.size()) continue;
        bool same = true;
        for (std::size_t k = 0; k < n.size() && same; ++k) {
            char a = n[k], b = name[k];
            if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
            if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
            same = a == b;
        }
        if (same) return int(i);
    }
    return -1;
}

std::size_t ResultSet::rowCount() const { return storage_->rowCount(); }
RowLocation ResultSet::location(std::size_t row) const { return storage_->locations[row]; }
bool ResultSet::isNull(std::size_t row, std::size_t column) const {
    return storage_->cell(row, column).size == Storage::kNull;
}

namespace {

template <typename T>
T load(const std::uint8_t* p, std::size_t size) {
    T v{};
    std::memcpy(&v, p, std::min(sizeof(T), size));
    return v;
}

std::string numericText(const std::uint8_t* p, std::size_t size, int scale) {
    if (size < 17) return "0";
    unsigned __int128 mag = 0;
    for (int i = 15; i >= 0; --i) mag = (mag << 8) | p[13 - (i / 4) * 4 + (i % 4)];
    std::string digits;
    do {
        digits.insert(digits.begin(), char('0' + int(mag % 10)));
        mag /= 10;
    } while (mag);
    if (scale > 0) {
        if (digits.size() <= std::size_t(scale)) digits.insert(0, std::size_t(scale) + 1 - digits.size(), '0');
        digits.insert(digits.size() - scale, ".");
    }
    bool zero = digits.find_first_not_of("0.") == std::string::npos;
    if ((p[0] & 0x80) && !zero) digits.insert(digits.begin(), '-');
    return digits;
}

std::u16string guidText(const std::uint8_t* p, std::size_t size) {
    if (size < 16) return u"";
    static const char* hex = "0123456789ABCDEF";
    // The first three groups are stored little-endian, the rest as written.
    static const int order[16] = {3, 2, 1, 0, 5, 4, 7, 6, 8, 9, 10, 11, 12, 13, 14, 15};
    std::u16string s = u"{";
    for (int i = 0; i < 16; ++i) {
        if (i == 4 || i == 6 || i == 8 || i == 10) s.push_back(u'-');
        s.push_back(char16_t(hex[p[order[i]] >> 4]));
        s.push_back(char16_t(hex[p[order[i]] & 15]));
    }
    s.push_back(u'}');
    return s;
}

}  // namespace

Value ResultSet::value(std::size_t row, std::size_t column) const {
    const Storage& s = *storage_;
    const auto& c = s.cell(row, column);
    Value v;
    v.type = s.columns[column].type;
    if (c.size == Storage::kNull) return v;
    const std::uint8_t* p = s.pool.data() + c.offset;
    switch (v.type) {
        case ColumnType::Boolean:
            v.kind = Value::Kind::Boolean;
            v.boolean = c.size && p[0];
            v.integer = v.boolean ? -1 : 0;
            break;
        case ColumnType::Byte: v.kind = Value::Kind::Integer; v.integer = load<std::uint8_t>(p, c.size); break;
        case ColumnType::Integer: v.kind = Value::Kind::Integer; v.integer = load<std::int16_t>(p, c.size); break;
        case ColumnType::Long: v.kind = Value::Kind::Integer; v.integer = load<std::int32_t>(p, c.size); break;
        case ColumnType::Currency: v.kind = Value::Kind::Currency; v.integer = load<std::int64_t>(p, c.size); break;
        case ColumnType::Single: v.kind = Value::Kind::Float; v.real = load<float>(p, c.size); break;
        case ColumnType::Double:
        case ColumnType::DateTime: v.kind = Value::Kind::Float; v.real = load<double>(p, c.size); break;
        case ColumnType::Text:
        case ColumnType::Memo:
            v.kind = Value::Kind::Text;
            v.text.resize(c.size / 2);
            if (!v.text.empty()) std::memcpy(v.text.data(), p, v.text.size() * 2);
            break;
        case ColumnType::Guid: v.kind = Value::Kind::Guid; v.text = guidText(p, c.size); break;
        case ColumnType::Numeric:
            v.kind = Value::Kind::Numeric;
            v.numeric = numericText(p, c.size, s.columns[column].scale);
            break;
        default: v.kind = Value::Kind::Binary; v.bytes.assign(p, p + c.size); break;
    }
    return v;
}

std::u16string ResultSet::text(std::size_t row, std::size_t column) const {
    const Storage& s = *storage_;
    ColumnType t = s.columns[column].type;
    if (t != ColumnType::Text && t != ColumnType::Memo) return {};
    const auto& c = s.cell(row, column);
    if (c.size == Storage::kNull) return {};
    std::u16string out(c.size / 2, u'\0');
    if (!out.empty()) std::memcpy(out.data(), s.pool.data() + c.offset, out.size() * 2);
    return out;
}

double ResultSet::number(std::size_t row, std::size_t column) const { return value(row, column).toDouble(); }

void ResultSet::removeRow(std::size_t row) {
    Storage& s = storage();
    std::size_t n = s.columns.size();
    s.cells.erase(s.cells.begin() + row * n, s.cells.begin() + (row + 1) * n);
    s.locations.erase(s.locations.begin() + row);
}

}  // namespace jet
