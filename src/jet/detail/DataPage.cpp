#include "jet/detail/DataPage.h"

#include "jet/detail/Format.h"

namespace jet::detail {

DataPage::DataPage(const ByteReader& page) : page_(page) {
    rowCount_ = page.u16(format::kDataRowCountOffset, "row count");
    page.require(format::kDataRowTableOffset, std::size_t(rowCount_) * 2, "row slot table");
}

std::size_t DataPage::slotOffset(std::uint16_t row) { return format::kDataRowTableOffset + std::size_t(row) * 2; }

RowSlot DataPage::slot(std::uint16_t row) const {
    if (row >= rowCount_)
        throw Error(ErrorCategory::Corruption, page_.place() + ": row " + std::to_string(row) +
                                                   " does not exist (the page has " + std::to_string(rowCount_) +
                                                   " rows).");
    std::uint16_t raw = page_.u16(slotOffset(row));
    RowSlot s;
    s.start = raw & format::kRowOffsetMask;
    s.deleted = raw & format::kRowDeletedFlag;
    s.overflow = raw & format::kRowOverflowFlag;
    s.end = row == 0 ? static_cast<std::uint16_t>(page_.size())
                     : static_cast<std::uint16_t>(page_.u16(slotOffset(row - 1)) & format::kRowOffsetMask);
    std::size_t tableEnd = format::kDataRowTableOffset + std::size_t(rowCount_) * 2;
    if (!s.deleted && (s.start < tableEnd || s.end > page_.size() || s.start > s.end))
        throw Error(ErrorCategory::Corruption, page_.place() + ": row " + std::to_string(row) + " spans bytes " +
                                                   std::to_string(s.start) + ".." + std::to_string(s.end) +
                                                   ", outside the page's row area.");
    return s;
}

}  // namespace jet::detail
