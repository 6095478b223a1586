#include "jet/detail/IndexPage.h"

#include "jet/Error.h"
#include "jet/detail/Format.h"

namespace jet::detail {

namespace f = format;

IndexPage::IndexPage(const ByteReader& page) : page_(page) {
    std::uint8_t type = page.u8(f::kPageTypeOffset);
    if (type != static_cast<std::uint8_t>(f::PageType::IndexLeaf) &&
        type != static_cast<std::uint8_t>(f::PageType::IndexNode))
        throw Error(ErrorCategory::Corruption, page.place() + ": expected an index page, found page type " +
                                                   std::to_string(type) + ".");
    leaf_ = type == static_cast<std::uint8_t>(f::PageType::IndexLeaf);
    prev_ = page.u32(f::kIndexPrevPageOffset);
    next_ = page.u32(f::kIndexNextPageOffset);
    tail_ = page.u32(f::kIndexTailPageOffset);
    prefixLength_ = page.u16(f::kIndexPrefixLengthOffset);
    page.require(f::kIndexEntryMaskOffset, f::kIndexEntryMaskSize, "index entry mask");
}

void IndexPage::forEach(const std::function<void(std::span<const std::uint8_t>, std::uint32_t, std::uint8_t,
                                                 std::uint32_t)>& visit) const {
    auto bytes = page_.bytes();
    std::size_t pointerSize = f::kIndexRowPointerSize + (leaf_ ? 0 : f::kIndexChildPointerSize);
    std::vector<std::uint8_t> full;
    std::span<const std::uint8_t> first;
    std::size_t start = 0;
    for (std::size_t i = 0; i < f::kIndexEntryMaskSize; ++i) {
        std::uint8_t m = bytes[f::kIndexEntryMaskOffset + i];
        for (int b = 0; m && b < 8; ++b) {
            if (!(m & (1u << b))) continue;
            std::size_t end = i * 8 + b;
            if (end <= start) continue;
            std::size_t from = f::kIndexEntriesOffset + start;
            auto stored = page_.slice(from, end - start, "index entry");
            full.clear();
            if (first.empty()) {
                first = stored;
            } else {
                if (prefixLength_ > first.size())
                    throw Error(ErrorCategory::Corruption, page_.place() + ": the shared prefix is longer than the first entry.");
                full.assign(first.begin(), first.begin() + prefixLength_);
            }
            full.insert(full.end(), stored.begin(), stored.end());
            if (full.size() < pointerSize)
                throw Error(ErrorCategory::Corruption, page_.place() + ": an index entry is shorter than its pointers.");
            ByteReader e(full, page_.place());
            std::size_t keyLen = full.size() - pointerSize;
            std::uint32_t rowPage = e.u24be(keyLen);
            std::uint8_t row = full[keyLen + 3];
            std::uint32_t child = leaf_ ? 0 : e.u32be(keyLen + 4);
            visit(std::span<const std::uint8_t>(full.data(), keyLen), rowPage, row, child);
            start = end;
        }
    }
}

void IndexPage::forEachRowPointer(std::vector<std::pair<std::uint32_t, std::uint8_t>>& out) const {
    auto bytes = page_.bytes();
    std::size_t tail = leaf_ ? 0 : f::kIndexChildPointerSize;
    std::size_t start = 0;
    bool first = true;
    for (std::size_t i = 0; i < f::kIndexEntryMaskSize; ++i) {
        std::uint8_t m = bytes[f::kIndexEntryMaskOffset + i];
        for (int b = 0; m && b < 8; ++b) {
            if (!(m & (1u << b))) continue;
            std::size_t end = i * 8 + b;
            if (end <= start) continue;
            std::size_t stored = end - start;
            if (stored < f::kIndexRowPointerSize + tail || (first && prefixLength_ + f::kIndexRowPointerSize + tail > stored)) {
                // The pointer reaches into the shared prefix; take the slow path.
                out.clear();
                forEach([&](std::span<const std::uint8_t>, std::uint32_t p, std::uint8_t r, std::uint32_t) {
                    out.emplace_back(p, r);
                });
                return;
            }
            std::size_t at = f::kIndexEntriesOffset + end - tail - f::kIndexRowPointerSize;
            page_.require(at, f::kIndexRowPointerSize, "index entry");
            out.emplace_back(page_.u24be(at), bytes[at + 3]);
            first = false;
            start = end;
        }
    }
}

std::vector<IndexEntry> IndexPage::entries() const {
    std::vector<IndexEntry> out;
    forEach([&](std::span<const std::uint8_t> key, std::uint32_t page, std::uint8_t row, std::uint32_t child) {
        out.push_back(IndexEntry{{key.begin(), key.end()}, page, row, child, 0});
    });
    return out;
}

}  // namespace jet::detail
