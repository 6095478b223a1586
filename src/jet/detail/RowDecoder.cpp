#include "jet/detail/RowDecoder.h"

#include "jet/Error.h"
#include "jet/detail/Format.h"
#include "jet/detail/UsageMap.h"

namespace jet::detail {

namespace f = format;

RowDecoder::RowDecoder(Pager& pager, const TableDefinition& table) : pager_(pager), table_(table) {}

std::string RowDecoder::place() const {
    return "The database file '" + pager_.fileName() + "' is damaged: row " + std::to_string(slot_) +
           " of page " + std::to_string(page_) + " (table '" + table_.name + "')";
}

std::size_t RowDecoder::fixedSize(const ColumnDefinition& c) {
    switch (c.column.type) {
        case ColumnType::Boolean: return 0;
        case ColumnType::Byte: return 1;
        case ColumnType::Integer: return 2;
        case ColumnType::Long:
        case ColumnType::Single: return 4;
        case ColumnType::Currency:
        case ColumnType::Double:
        case ColumnType::DateTime: return 8;
        case ColumnType::Guid: return 16;
        case ColumnType::Numeric: return 17;
        default: return c.column.length;
    }
}

void RowDecoder::load(std::span<const std::uint8_t> row, std::uint32_t page, std::uint16_t slot) {
    row_ = row;
    page_ = page;
    slot_ = slot;
    if (row.size() < f::kRowColumnCountSize) throw Error(ErrorCategory::Corruption, place() + " is too short.");
    columnCount_ = loadU16(row.data());
    std::size_t maskLen = (std::size_t(columnCount_) + 7) / 8;
    if (maskLen + f::kRowColumnCountSize > row.size())
        throw Error(ErrorCategory::Corruption, place() + ": its null mask does not fit.");
    nullMaskStart_ = row.size() - maskLen;
    varCount_ = 0;
    eod_ = nullMaskStart_;
    fixedEnd_ = nullMaskStart_;
    if (table_.varColumnCount > 0) {
        if (nullMaskStart_ < f::kRowColumnCountSize + 2)
            throw Error(ErrorCategory::Corruption, place() + ": its variable column count does not fit.");
        varTableEnd_ = nullMaskStart_ - 2;
        varCount_ = loadU16(row.data() + varTableEnd_);
        std::size_t need = (std::size_t(varCount_) + 1) * 2;
        if (need + f::kRowColumnCountSize > varTableEnd_)
            throw Error(ErrorCategory::Corruption, place() + ": its variable column table does not fit.");
        eod_ = loadU16(row.data() + varTableEnd_ - need);
        std::size_t eodLimit = varTableEnd_ - need;
        if (eod_ > eodLimit) throw Error(ErrorCategory::Corruption, place() + ": its data end lies past its tables.");
        fixedEnd_ = eod_;
        if (varCount_ > 0) fixedEnd_ = std::min<std::size_t>(eod_, loadU16(row.data() + varTableEnd_ - 2));
    }
}

bool RowDecoder::isNull(std::size_t column) const {
    const ColumnDefinition& c = table_.columns[column];
    if (c.number >= columnCount_) return c.column.type != ColumnType::Boolean;
    bool present = row_[nullMaskStart_ + c.number / 8] & (1u << (c.number % 8));
    if (c.column.type == ColumnType::Boolean) return false;  // the bit is its value
    if (!present) return true;
    std::span<const std::uint8_t> b;
    return !bytes(column, b);
}

bool RowDecoder::bytes(std::size_t column, std::span<const std::uint8_t>& out) const {
    const ColumnDefinition& c = table_.columns[column];
    if (c.number >= columnCount_) return false;
    if (!(row_[nullMaskStart_ + c.number / 8] & (1u << (c.number % 8)))) return false;
    if (c.fixed) {
        std::size_t start = f::kRowColumnCountSize + std::size_t(c.fixedOffset);
        std::size_t size = fixedSize(c);
        // A fixed column added after the row was written is not in it.
        if (start + size > fixedEnd_) return false;
        out = row_.subspan(start, size);
        return true;
    }
    if (c.varIndex >= varCount_) return false;
    std::size_t start = loadU16(row_.data() + varTableEnd_ - 2 * (std::size_t(c.varIndex) + 1));
    std::size_t end = c.varIndex + 1 < varCount_
                          ? loadU16(row_.data() + varTableEnd_ - 2 * (std::size_t(c.varIndex) + 2))
                          : eod_;
    if (start > end || end > eod_ || start < f::kRowColumnCountSize)
        throw Error(ErrorCategory::Corruption, place() + ": column '" + c.column.name + "' spans bytes " +
                                                   std::to_string(start) + ".." + std::to_string(end) +
                                                   " outside the row.");
    out = row_.subspan(start, end - start);
    return true;
}

void RowDecoder::longValue(std::span<const std::uint8_t> header, std::vector<std::uint8_t>& out) {
    out.clear();
    if (header.size() < f::kLongValueHeaderSize)
        throw Error(ErrorCategory::Corruption, place() + ": a long value header is cut short.");
    std::uint32_t length = header[0] | (header[1] << 8) | (header[2] << 16);
    std::uint8_t kind = header[3];
    std::uint32_t pointer = loadU32(header.data() + 4);
    if (kind & f::kLongValueInline) {
        if (length > header.size() - f::kLongValueHeaderSize)
            throw Error(ErrorCategory::Corruption, place() + ": an inline long value is longer than its row.");
        out.assign(header.begin() + f::kLongValueHeaderSize, header.begin() + f::kLongValueHeaderSize + length);
        return;
    }
    if (length > std::uint64_t(pager_.pageCount()) * f::kPageSize)
        throw Error(ErrorCategory::Corruption, place() + ": a long value claims more bytes than the file holds.");
    PagePtr holder;
    if (kind & f::kLongValueSinglePage) {
        auto data = rowByPointer(pager_, pointer, holder, "long value");
        if (data.size() < length)
            throw Error(ErrorCategory::Corruption, place() + ": a long value is shorter than its length.");
        out.assign(data.begin(), data.begin() + length);
        return;
    }
    // A chain: each piece starts with the pointer to the next. Every page can
    // hold a piece only once per value, so more pieces than pages is a loop.
    out.reserve(length);
    std::size_t pieces = 0;
    while (out.size() < length) {
        if (pointer == 0 || ++pieces > pager_.pageCount())
            throw Error(ErrorCategory::Corruption, place() + ": a long value chain ends early or loops.");
        auto data = rowByPointer(pager_, pointer, holder, "long value");
        if (data.size() < f::kLongValueNextPointerSize)
            throw Error(ErrorCategory::Corruption, place() + ": a long value piece is too short.");
        pointer = loadU32(data.data());
        std::size_t take = std::min<std::size_t>(data.size() - 4, length - out.size());
        out.insert(out.end(), data.begin() + 4, data.begin() + 4 + take);
    }
}

bool RowDecoder::text(std::size_t column, std::u16string& out) {
    out.clear();
    const ColumnDefinition& c = table_.columns[column];
    std::span<const std::uint8_t> b;
    if (!bytes(column, b)) return false;
    if (c.column.type == ColumnType::Text) {
        decodeText(b, out);
        return true;
    }
    if (c.column.type == ColumnType::Memo) {
        longValue(b, scratch_);
        decodeText(scratch_, out);
        return true;
    }
    return false;
}

void RowDecoder::appendCell(std::size_t column, ResultSet::Storage& storage) {
    const ColumnDefinition& c = table_.columns[column];
    if (c.column.type == ColumnType::Boolean) {
        std::uint8_t v = c.number < columnCount_ && (row_[nullMaskStart_ + c.number / 8] & (1u << (c.number % 8)));
        storage.appendBytes(&v, 1);
        return;
    }
    std::span<const std::uint8_t> b;
    if (!bytes(column, b)) {
        storage.appendNull();
        return;
    }
    switch (c.column.type) {
        case ColumnType::Text:
            decodeText(b, textScratch_);
            storage.appendText(textScratch_.data(), textScratch_.size());
            break;
        case ColumnType::Memo:
            longValue(b, scratch_);
            decodeText(scratch_, textScratch_);
            storage.appendText(textScratch_.data(), textScratch_.size());
            break;
        case ColumnType::Ole:
            longValue(b, scratch_);
            storage.appendBytes(scratch_.data(), scratch_.size());
            break;
        default: storage.appendBytes(b.data(), b.size()); break;
    }
}

}  // namespace jet::detail
