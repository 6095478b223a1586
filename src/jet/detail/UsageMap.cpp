#include "jet/detail/UsageMap.h"

#include "jet/Error.h"
#include "jet/detail/DataPage.h"
#include "jet/detail/Format.h"

namespace jet::detail {

namespace f = format;

std::span<const std::uint8_t> rowByPointer(Pager& pager, std::uint32_t pointer, PagePtr& holder, const char* what) {
    std::uint32_t pageNo = pointer >> 8;
    auto row = static_cast<std::uint16_t>(pointer & 0xFF);
    holder = pager.page(pageNo, f::PageType::Data, what);
    ByteReader r = pager.reader(holder, pageNo);
    DataPage dp(r);
    RowSlot s = dp.slot(row);
    if (s.start < f::kDataRowTableOffset || s.start > s.end || s.end > r.size())
        throw Error(ErrorCategory::Corruption, r.place() + ": " + what + " row " + std::to_string(row) +
                                                   " lies outside the page.");
    return std::span<const std::uint8_t>(*holder).subspan(s.start, s.end - s.start);
}

namespace {

void addBits(std::span<const std::uint8_t> bitmap, std::uint64_t base, std::uint32_t pageCount,
             std::vector<std::uint32_t>& out) {
    for (std::size_t i = 0; i < bitmap.size(); ++i) {
        if (!bitmap[i]) continue;
        for (int b = 0; b < 8; ++b) {
            if (!(bitmap[i] & (1u << b))) continue;
            std::uint64_t page = base + i * 8 + b;
            if (page < pageCount) out.push_back(static_cast<std::uint32_t>(page));
        }
    }
}

}  // namespace

std::vector<std::uint32_t> usageMapPages(Pager& pager, std::uint32_t pointer) {
    PagePtr holder;
    auto row = rowByPointer(pager, pointer, holder, "usage map");
    ByteReader r(row, pager.fileName() + " usage map at page " + std::to_string(pointer >> 8));
    std::vector<std::uint32_t> pages;
    std::uint8_t type = r.u8(0, "usage map type");
    if (type == f::kUsageMapInline) {
        std::uint32_t start = r.u32(f::kUsageMapInlineStartOffset, "usage map start");
        r.require(f::kUsageMapInlineBitmapOffset, 0, "usage map bitmap");
        addBits(row.subspan(f::kUsageMapInlineBitmapOffset), start, pager.pageCount(), pages);
    } else if (type == f::kUsageMapIndirect) {
        for (std::size_t i = 0; 1 + (i + 1) * 4 <= row.size(); ++i) {
            std::uint32_t mapPage = r.u32(1 + i * 4);
            if (mapPage == 0) continue;
            PagePtr mp = pager.page(mapPage, f::PageType::UsageMap, "usage map page");
            addBits(std::span<const std::uint8_t>(*mp).subspan(f::kUsageMapPageBitmapOffset),
                    std::uint64_t(i) * f::kUsageMapPagesPerMapPage, pager.pageCount(), pages);
        }
    } else {
        throw Error(ErrorCategory::Corruption, r.place() + ": unknown usage map type " + std::to_string(type) + ".");
    }
    return pages;
}

}  // namespace jet::detail
