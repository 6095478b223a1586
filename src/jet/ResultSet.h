// The complete set of rows a statement returned: a client-side snapshot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "jet/Value.h"

namespace jet {

// Where a row lives in the file: its data page and its slot on that page.
struct RowLocation {
    std::uint32_t page = 0;
    std::uint16_t row = 0;
    bool operator==(const RowLocation&) const = default;
};

// Rows in result order. Storage is the engine's business; access is by
// (row, column). A ResultSet does not refer back to the file once built.
class ResultSet {
public:
    const std::string& tableName() const;
    const std::vector<Column>& columns() const;
    // Index of the column named `name`, compared without regard to ASCII case; -1 if none.
    int columnIndex(std::string_view name) const;
    std::size_t rowCount() const;
    const Value& value(std::size_t row, std::size_t column) const;
    RowLocation location(std::size_t row) const;
    // Drops one row from the snapshot (after the row was deleted from the file).
    void removeRow(std::size_t row);

    // Construction, used by the engine.
    ResultSet(std::string tableName, std::vector<Column> columns);
    void appendRow(RowLocation location, std::vector<Value> values);

private:
    std::string tableName_;
    std::vector<Column> columns_;
    std::vector<RowLocation> locations_;
    std::vector<Value> values_;  // row-major, columns_.size() per row
};

}  // namespace jet
