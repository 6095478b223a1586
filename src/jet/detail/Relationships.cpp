#include "jet/detail/Relationships.h"

#include "jet/Error.h"
#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/ResultSetStorage.h"
#include "jet/detail/RowDecoder.h"

namespace jet::detail {

namespace {

// The relationship descriptor byte of the "one" side of a relationship.
constexpr std::uint8_t kPrimaryTableType = 1;

int positionOfColumnNumber(const TableDefinition& t, std::uint16_t number) {
    for (std::size_t i = 0; i < t.columns.size(); ++i)
        if (t.columns[i].number == number) return int(i);
    return -1;
}

// One key column of a row in comparable form: text folded to upper case as
// Access's General order does for the letters both files can hold, every
// other type as stored. Empty optional for null.
std::optional<std::u16string> keyValue(RowDecoder& row, const TableDefinition& t, int column) {
    if (row.isNull(std::size_t(column))) return std::nullopt;
    ColumnType type = t.columns[std::size_t(column)].column.type;
    std::u16string out;
    if (type == ColumnType::Text || type == ColumnType::Memo) {
        row.text(std::size_t(column), out);
        // Keys ignore trailing spaces and letter case.
        while (!out.empty() && out.back() == u' ') out.pop_back();
        for (auto& c : out) {
            if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
            else if ((c >= 0xE0 && c <= 0xFE && c != 0xF7)) c = char16_t(c - 32);
            else if (c >= 0x100 && c <= 0x17F && (c % 2) == 1 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F)
                c = char16_t(c - 1);
        }
        return out;
    }
    ResultSet::Storage cells;
    cells.columns.assign(1, Column{});
    row.appendCell(std::size_t(column), cells);
    const auto& cell = cells.cells[0];
    for (std::uint32_t i = 0; i < cell.size; ++i) out.push_back(cells.pool[cell.offset + i]);
    return out;
}

}  // namespace

std::vector<ReferringRows> referringRows(DatabaseImpl& db, const TableDefinition& table, RowDecoder& row) {
    std::vector<ReferringRows> out;
    for (const LogicalIndex& li : table.logicalIndexes) {
        if (li.relatedIndex < 0 || li.relatedTableType != kPrimaryTableType) continue;
        // Find the other table by its definition page.
        const CatalogEntry* other = nullptr;
        auto catalog = db.catalog();
        for (const auto& e : catalog)
            if (e.page == li.relatedTablePage) other = &e;
        if (!other)
            throw Error(ErrorCategory::Corruption, "The relationship of index '" + li.name + "' of table '" +
                                                       table.name + "' names a table that does not exist.");
        ReferringRows ref;
        ref.table = TableDefinition::read(db.pager(), other->page, other->name);
        ref.cascadeDeletes = li.cascadeDeletes;
        const LogicalIndex* theirs = nullptr;
        for (const auto& o : ref.table.logicalIndexes)
            if (std::int32_t(o.number) == li.relatedIndex) theirs = &o;
        if (!theirs || li.physical >= table.physicalIndexes.size() ||
            theirs->physical >= ref.table.physicalIndexes.size())
            throw Error(ErrorCategory::Corruption, "The relationship of index '" + li.name + "' of table '" +
                                                       table.name + "' is damaged.");
        const auto& ourColumns = table.physicalIndexes[li.physical].columns;
        const auto& theirColumns = ref.table.physicalIndexes[theirs->physical].columns;
        if (ourColumns.size() != theirColumns.size())
            throw Error(ErrorCategory::Corruption, "The relationship of index '" + li.name + "' of table '" +
                                                       table.name + "' joins different numbers of columns.");
        std::vector<std::u16string> key;
        bool anyNull = false;
        std::vector<int> theirPositions;
        for (std::size_t k = 0; k < ourColumns.size(); ++k) {
            int ours = positionOfColumnNumber(table, ourColumns[k].columnNumber);
            int their = positionOfColumnNumber(ref.table, theirColumns[k].columnNumber);
            if (ours < 0 || their < 0)
                throw Error(ErrorCategory::Corruption, "The relationship of index '" + li.name +
                                                           "' names a column that does not exist.");
            auto v = keyValue(row, table, ours);
            if (!v) anyNull = true;
            key.push_back(v.value_or(u""));
            theirPositions.push_back(their);
        }
        if (anyNull) continue;
        db.scan(ref.table, [&](RowLocation loc, RowDecoder& r) {
            for (std::size_t k = 0; k < key.size(); ++k) {
                auto v = keyValue(r, ref.table, theirPositions[k]);
                if (!v || *v != key[k]) return;
            }
            ref.rows.push_back(loc);
        });
        if (!ref.rows.empty()) out.push_back(std::move(ref));
    }
    return out;
}

}  // namespace jet::detail
