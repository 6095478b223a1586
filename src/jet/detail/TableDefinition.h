// A table's definition as stored on its definition pages: columns with their
// row layout, physical and logical indexes, and the usage map row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/Value.h"
#include "jet/detail/Pager.h"

namespace jet::detail {

struct ColumnDefinition {
    Column column;                 // public description (name, type, size)
    std::uint16_t number = 0;      // null-mask bit; counts deleted columns
    std::uint16_t varIndex = 0;    // slot in the row's var offset table
    std::uint16_t fixedOffset = 0; // after the row's column count
    std::uint8_t flags = 0;
    bool fixed = false;
    bool compressedText = false;
};

struct IndexColumn {
    std::uint16_t columnNumber = 0;  // ColumnDefinition::number
    bool ascending = true;
};

struct PhysicalIndex {
    std::vector<IndexColumn> columns;
    std::uint32_t usedPagesPointer = 0;
    std::uint32_t rootPage = 0;
    std::uint8_t flags = 0;
    bool unique() const { return flags & 0x01; }
    bool ignoreNulls() const { return flags & 0x02; }
    std::size_t definitionOffset = 0;  // of the descriptor, in the concatenated definition
};

struct LogicalIndex {
    std::string name;
    std::uint32_t number = 0;
    std::uint32_t physical = 0;       // index into physicalIndexes
    std::uint8_t relatedTableType = 0;
    std::int32_t relatedIndex = -1;   // -1: not a foreign key
    std::uint32_t relatedTablePage = 0;
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
    std::uint8_t type = 0;            // 1 primary key, 2 foreign key
    bool primaryKey() const { return type == 1; }
    bool foreignKey() const { return type == 2; }
};

struct TableDefinition {
    std::string name;
    std::uint32_t firstPage = 0;
    std::vector<std::uint32_t> pages;        // every definition page, in chain order
    std::uint32_t rowCount = 0;
    static constexpr std::size_t rowCountOffset = 16;  // on firstPage, 4 bytes
    std::uint16_t maxColumns = 0;
    std::uint16_t varColumnCount = 0;
    std::vector<ColumnDefinition> columns;   // in column-number order
    std::vector<PhysicalIndex> physicalIndexes;
    std::vector<LogicalIndex> logicalIndexes;
    std::uint32_t usedPagesPointer = 0;      // row pointer: row in low byte, page above
    std::uint32_t freePagesPointer = 0;

    // Reads the definition chain starting at `page`. Throws Error(Corruption).
    static TableDefinition read(Pager& pager, std::uint32_t page, const std::string& name);
    // Position in `columns` of the column whose name matches case-blind, or -1.
    int findColumn(std::string_view name) const;
};

// Decodes stored Jet 4 text: UTF-16LE, or FF FE followed by runs that a 00
// byte switches between one-byte and two-byte characters.
void decodeText(std::span<const std::uint8_t> bytes, std::u16string& out);
std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);
bool equalsIgnoreAsciiCase(std::string_view a, std::string_view b);

}  // namespace jet::detail
