// The complete set of rows a statement returned: a client-side snapshot.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
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

// Rows in result order. It must stay compact for a million rows, so values
// are kept in the engine's own packed form and decoded on access. A ResultSet
// does not refer back to the file once built; copying it is cheap (shared,
// copy-on-write storage is the engine's choice).
class ResultSet {
public:
    ResultSet();
    ~ResultSet();
    ResultSet(const ResultSet&);
    ResultSet& operator=(const ResultSet&);
    ResultSet(ResultSet&&) noexcept;
    ResultSet& operator=(ResultSet&&) noexcept;

    const std::string& tableName() const;
    const std::vector<Column>& columns() const;
    // Index of the column named `name`, compared without regard to ASCII case; -1 if none.
    int columnIndex(std::string_view name) const;
    std::size_t rowCount() const;
    RowLocation location(std::size_t row) const;

    // Access to one cell. Out-of-range indexes are a programming error.
    Value value(std::size_t row, std::size_t column) const;
    bool isNull(std::size_t row, std::size_t column) const;
    // Text as stored ("" for null); for non-text columns, "".
    std::u16string text(std::size_t row, std::size_t column) const;
    // Number as double (Value::toDouble rules; null gives 0).
    double number(std::size_t row, std::size_t column) const;

    // Drops one row from the snapshot (after the row was deleted from the file).
    void removeRow(std::size_t row);

    struct Storage;  // the engine's
    explicit ResultSet(std::shared_ptr<Storage> storage);
    Storage& storage();
    const Storage& storage() const;

private:
    std::shared_ptr<Storage> storage_;
};

}  // namespace jet
