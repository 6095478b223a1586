// The packed form of a result: one cell per row and column pointing into a
// shared byte pool, so a million rows cost a few allocations, not millions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/ResultSet.h"

namespace jet {

struct ResultSet::Storage {
    // A cell's bytes: text as UTF-16 code units, long text already joined,
    // every other type in its stored little-endian form.
    struct Cell {
        std::uint32_t offset = 0;
        std::uint32_t size = kNull;
    };
    static constexpr std::uint32_t kNull = 0xFFFFFFFFu;

    std::string tableName;
    std::vector<Column> columns;
    std::vector<RowLocation> locations;
    std::vector<Cell> cells;  // row-major, columns.size() per row
    std::vector<std::uint8_t> pool;

    std::size_t rowCount() const { return locations.size(); }
    const Cell& cell(std::size_t row, std::size_t column) const { return cells[row * columns.size() + column]; }
    void appendNull() { cells.push_back(Cell{}); }
    void appendBytes(const std::uint8_t* data, std::size_t size);
    void appendText(const char16_t* data, std::size_t length);
};

}  // namespace jet
