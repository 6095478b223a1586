// One page of an index B-tree: its sibling links and its entries, with the
// shared prefix of each entry restored.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "jet/detail/ByteReader.h"

namespace jet::detail {

struct IndexEntry {
    std::vector<std::uint8_t> key;  // the encoded key columns
    std::uint32_t page = 0;         // row the entry points at
    std::uint8_t row = 0;
    std::uint32_t child = 0;        // node pages: the child page; 0 on leaves
    std::size_t end = 0;            // offset of the entry's end within the entry area
};

class IndexPage {
public:
    // Decodes `page` (an index node or leaf page). Throws Error(Corruption).
    explicit IndexPage(const ByteReader& page);

    bool leaf() const { return leaf_; }
    std::uint32_t previousPage() const { return prev_; }
    std::uint32_t nextPage() const { return next_; }
    std::uint32_t tailPage() const { return tail_; }
    std::uint16_t prefixLength() const { return prefixLength_; }

    // Calls `visit` for each entry in page order; the key span is valid
    // only during the call.
    void forEach(const std::function<void(std::span<const std::uint8_t> key, std::uint32_t page,
                                          std::uint8_t row, std::uint32_t child)>& visit) const;
    std::vector<IndexEntry> entries() const;
    // Only the row pointers of a leaf page, in order: they are the last bytes
    // of each entry, so no shared prefix needs restoring. Faster than forEach.
    void forEachRowPointer(std::vector<std::pair<std::uint32_t, std::uint8_t>>& out) const;

private:
    const ByteReader& page_;
    bool leaf_ = false;
    std::uint32_t prev_ = 0, next_ = 0, tail_ = 0;
    std::uint16_t prefixLength_ = 0;
};

}  // namespace jet::detail
