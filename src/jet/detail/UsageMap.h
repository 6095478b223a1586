// A usage map: the set of pages a table (or index) owns, stored either as a
// bitmap inside a row or as a list of bitmap pages.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "jet/detail/Pager.h"

namespace jet::detail {

// The bytes of the row a 4-byte row pointer (row in the low byte, page
// above) names, checked against its page. Keeps the page alive in `holder`.
std::span<const std::uint8_t> rowByPointer(Pager& pager, std::uint32_t pointer, PagePtr& holder, const char* what);

// Pages marked in the map that `pointer` names, ascending, each < pageCount.
std::vector<std::uint32_t> usageMapPages(Pager& pager, std::uint32_t pointer);

}  // namespace jet::detail
