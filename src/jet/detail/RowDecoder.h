// Reads the values of one stored row: null mask, fixed and variable parts,
// compressed text and long values on their own pages.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "jet/detail/ResultSetStorage.h"
#include "jet/detail/TableDefinition.h"

namespace jet::detail {

class RowDecoder {
public:
    // Both must outlive the decoder.
    RowDecoder(Pager& pager, const TableDefinition& table);

    // Takes the row's bytes (valid until the next load); Error(Corruption)
    // when its layout does not fit inside them. `place` names it in errors.
    void load(std::span<const std::uint8_t> row, std::uint32_t page, std::uint16_t slot);

    // Column `column` is a position in table.columns.
    bool isNull(std::size_t column) const;
    // Text or memo value into `out`; false (and `out` empty) when null or not text.
    bool text(std::size_t column, std::u16string& out);
    // Appends the column's cell to `storage` in its packed form.
    void appendCell(std::size_t column, ResultSet::Storage& storage);

    // Fixed size of a column type in a row; 0 for booleans (held in the null mask).
    static std::size_t fixedSize(const ColumnDefinition& c);

private:
    // The stored bytes of a non-null, non-boolean column; false when absent.
    bool bytes(std::size_t column, std::span<const std::uint8_t>& out) const;
    void longValue(std::span<const std::uint8_t> header, std::vector<std::uint8_t>& out);
    std::string place() const;

    Pager& pager_;
    const TableDefinition& table_;
    std::span<const std::uint8_t> row_;
    std::uint32_t page_ = 0;
    std::uint16_t slot_ = 0;
    std::uint16_t columnCount_ = 0;
    std::size_t nullMaskStart_ = 0;
    std::uint16_t varCount_ = 0;
    std::size_t varTableEnd_ = 0;  // var offsets are read backwards from here
    std::size_t eod_ = 0;
    std::size_t fixedEnd_ = 0;
    std::vector<std::uint8_t> scratch_;
    std::u16string textScratch_;
};

}  // namespace jet::detail
