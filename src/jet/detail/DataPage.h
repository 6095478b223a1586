// The row slot table of a data page: where each row lies and whether it is
// deleted or moved elsewhere.
#pragma once

#include <cstdint>

#include "jet/detail/ByteReader.h"

namespace jet::detail {

struct RowSlot {
    std::uint16_t start = 0;  // first byte of the row in the page
    std::uint16_t end = 0;    // one past its last byte
    bool deleted = false;
    bool overflow = false;    // the row holds only a pointer to where it moved
};

class DataPage {
public:
    // `page` must stay alive while the DataPage is used. Throws Error(Corruption)
    // when the slot table does not fit the page.
    explicit DataPage(const ByteReader& page);

    std::uint16_t rowCount() const { return rowCount_; }
    // Slot `row`; Error(Corruption) when out of range or its bounds are impossible.
    RowSlot slot(std::uint16_t row) const;
    // Offset of slot `row`'s 2-byte entry in the page, for writers.
    static std::size_t slotOffset(std::uint16_t row);

private:
    const ByteReader& page_;
    std::uint16_t rowCount_ = 0;
};

}  // namespace jet::detail
