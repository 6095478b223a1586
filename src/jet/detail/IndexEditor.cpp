#include "jet/detail/IndexEditor.h"

#include <algorithm>

#include "jet/Error.h"
#include "jet/detail/Format.h"

namespace jet::detail {

namespace f = format;

namespace {

std::uint32_t be24(const std::uint8_t* p) { return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]; }
std::uint32_t be32(const std::uint8_t* p) { return std::uint32_t(p[0]) << 24 | be24(p + 1); }
void putLe32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}
void putLe16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
std::uint32_t le32(const std::vector<std::uint8_t>& b, std::size_t at) {
    return std::uint32_t(b[at]) | std::uint32_t(b[at + 1]) << 8 | std::uint32_t(b[at + 2]) << 16 |
           std::uint32_t(b[at + 3]) << 24;
}

// Deep enough for any real tree, small enough to stop a page cycle.
constexpr int kMaxDepth = 32;

}  // namespace

EditableIndexPage EditableIndexPage::decode(std::uint32_t number, const std::vector<std::uint8_t>& page,
                                            const std::string& place) {
    EditableIndexPage p;
    p.number = number;
    p.original = page;
    std::uint8_t type = page[f::kPageTypeOffset];
    if (type != std::uint8_t(f::PageType::IndexLeaf) && type != std::uint8_t(f::PageType::IndexNode))
        throw Error(ErrorCategory::Corruption, place + ": page " + std::to_string(number) +
                                                   " should be an index page but has type " +
                                                   std::to_string(type) + ".");
    p.leaf = type == std::uint8_t(f::PageType::IndexLeaf);
    p.prev = le32(page, f::kIndexPrevPageOffset);
    p.next = le32(page, f::kIndexNextPageOffset);
    p.tail = le32(page, f::kIndexTailPageOffset);
    std::size_t prefix = std::size_t(page[f::kIndexPrefixLengthOffset]) | std::size_t(page[f::kIndexPrefixLengthOffset + 1]) << 8;
    std::size_t pointers = f::kIndexRowPointerSize + (p.leaf ? 0 : f::kIndexChildPointerSize);
    std::size_t start = 0;
    for (std::size_t i = 0; i < f::kIndexEntryMaskSize; ++i) {
        std::uint8_t m = page[f::kIndexEntryMaskOffset + i];
        for (int b = 0; m && b < 8; ++b) {
            if (!(m & (1u << b))) continue;
            std::size_t end = i * 8 + b;
            if (end <= start) continue;
            if (f::kIndexEntriesOffset + end > f::kPageSize)
                throw Error(ErrorCategory::Corruption, place + ": page " + std::to_string(number) +
                                                           " has an entry past the page end.");
            Entry e;
            if (!p.entries.empty()) {
                const auto& first = p.entries.front().bytes;
                if (prefix > first.size())
                    throw Error(ErrorCategory::Corruption, place + ": page " + std::to_string(number) +
                                                               " has a prefix longer than its first entry.");
                e.bytes.assign(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(prefix));
            }
            e.bytes.insert(e.bytes.end(), page.begin() + static_cast<std::ptrdiff_t>(f::kIndexEntriesOffset + start),
                           page.begin() + static_cast<std::ptrdiff_t>(f::kIndexEntriesOffset + end));
            if (e.bytes.size() < pointers)
                throw Error(ErrorCategory::Corruption, place + ": page " + std::to_string(number) +
                                                           " has an entry shorter than its pointers.");
            p.entries.push_back(std::move(e));
            start = end;
        }
    }
    return p;
}

std::uint32_t EditableIndexPage::childOf(std::size_t entry) const {
    const auto& b = entries[entry].bytes;
    return be32(b.data() + b.size() - 4);
}

std::optional<std::vector<std::uint8_t>> EditableIndexPage::encode() const {
    std::vector<std::uint8_t> page(f::kPageSize, 0);
    std::copy_n(original.begin(), f::kIndexEntryMaskOffset, page.begin());
    page[f::kPageTypeOffset] = std::uint8_t(leaf ? f::PageType::IndexLeaf : f::PageType::IndexNode);
    putLe32(page, f::kIndexPrevPageOffset, prev);
    putLe32(page, f::kIndexNextPageOffset, next);
    putLe32(page, f::kIndexTailPageOffset, tail);
    // Entries are sorted, so what the first and last share, all share. The
    // prefix stays within the key so that pointers are always stored whole.
    std::size_t pointers = f::kIndexRowPointerSize + (leaf ? 0 : f::kIndexChildPointerSize);
    std::size_t prefix = 0;
    if (entries.size() > 1) {
        const auto& a = entries.front().bytes;
        const auto& z = entries.back().bytes;
        std::size_t limit = std::min(a.size(), z.size()) - pointers;
        while (prefix < limit && a[prefix] == z[prefix]) ++prefix;
        for (const auto& e : entries)
            prefix = std::min(prefix, e.bytes.size() - pointers);
    }
    putLe16(page, f::kIndexPrefixLengthOffset, static_cast<std::uint16_t>(prefix));
    std::size_t total = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const auto& e = entries[i].bytes;
        std::size_t skip = i == 0 ? 0 : prefix;
        std::size_t len = e.size() - skip;
        if (f::kIndexEntriesOffset + total + len > f::kPageSize) return std::nullopt;
        std::copy(e.begin() + static_cast<std::ptrdiff_t>(skip), e.end(),
                  page.begin() + static_cast<std::ptrdiff_t>(f::kIndexEntriesOffset + total));
        total += len;
        if (total / 8 >= f::kIndexEntryMaskSize) return std::nullopt;
        page[f::kIndexEntryMaskOffset + total / 8] |= std::uint8_t(1u << (total % 8));
    }
    putLe16(page, f::kDataFreeSpaceOffset,
            static_cast<std::uint16_t>(f::kPageSize - f::kIndexEntriesOffset - total));
    return page;
}

IndexEditor::IndexEditor(Pager& pager, PageChanges& changes, std::string place)
    : pager_(pager), changes_(changes), place_(std::move(place)) {}

EditableIndexPage& IndexEditor::load(std::uint32_t number) {
    if (auto it = pages_.find(number); it != pages_.end()) return it->second;
    std::vector<std::uint8_t> bytes;
    if (const auto* staged = changes_.modified(number))
        bytes = *staged;
    else
        bytes = *pager_.page(number, "index page");
    auto& p = pages_[number] = EditableIndexPage::decode(number, bytes, place_);
    order_.push_back(number);
    return p;
}

bool IndexEditor::find(std::uint32_t number, RowLocation row, std::vector<Frame>& path, std::size_t& entry,
                       int depth) {
    if (depth > kMaxDepth)
        throw Error(ErrorCategory::Corruption, place_ + ": the index tree is deeper than " +
                                                   std::to_string(kMaxDepth) + " levels (a page cycle?).");
    // Most pages are only passed through: read their pointers straight from
    // the stored entries and decode a page only when it has to change.
    std::vector<std::uint8_t> stagedCopy;
    PagePtr held;
    const std::vector<std::uint8_t>* bytesPtr;
    if (auto it = pages_.find(number); it != pages_.end()) {
        bytesPtr = nullptr;
    } else if (const auto* staged = changes_.modified(number)) {
        bytesPtr = staged;
    } else {
        held = pager_.page(number, "index page");
        bytesPtr = held.get();
    }
    if (!bytesPtr) return findDecoded(number, row, path, entry, depth);
    const auto& bytes = *bytesPtr;
    std::uint8_t type = bytes[f::kPageTypeOffset];
    if (type != std::uint8_t(f::PageType::IndexLeaf) && type != std::uint8_t(f::PageType::IndexNode))
        return findDecoded(number, row, path, entry, depth);  // decode reports it
    bool leaf = type == std::uint8_t(f::PageType::IndexLeaf);
    std::size_t pointers = f::kIndexRowPointerSize + (leaf ? 0 : f::kIndexChildPointerSize);
    std::size_t start = 0, count = 0;
    for (std::size_t i = 0; i < f::kIndexEntryMaskSize; ++i) {
        std::uint8_t m = bytes[f::kIndexEntryMaskOffset + i];
        for (int b = 0; m && b < 8; ++b) {
            if (!(m & (1u << b))) continue;
            std::size_t end = i * 8 + b;
            if (end <= start) continue;
            // A prefix reaching into the pointers (or a damaged page): decode.
            if (end - start < pointers || f::kIndexEntriesOffset + end > f::kPageSize)
                return findDecoded(number, row, path, entry, depth);
            const std::uint8_t* tail = bytes.data() + f::kIndexEntriesOffset + end - pointers;
            if (leaf) {
                if (tail[3] == row.row && be24(tail) == row.page) {
                    load(number);
                    entry = count;
                    return entry < pages_.at(number).entries.size() ||
                           findDecoded(number, row, path, entry, depth);
                }
            } else {
                std::uint32_t child = be32(tail + 4);
                path.push_back({child, long(count)});
                if (find(child, row, path, entry, depth + 1)) {
                    load(number);
                    return true;
                }
                path.pop_back();
            }
            ++count;
            start = end;
        }
    }
    if (!leaf) {
        std::uint32_t tailChild = std::uint32_t(bytes[f::kIndexTailPageOffset]) |
                                  std::uint32_t(bytes[f::kIndexTailPageOffset + 1]) << 8 |
                                  std::uint32_t(bytes[f::kIndexTailPageOffset + 2]) << 16 |
                                  std::uint32_t(bytes[f::kIndexTailPageOffset + 3]) << 24;
        if (tailChild) {
            path.push_back({tailChild, -1});
            if (find(tailChild, row, path, entry, depth + 1)) {
                load(number);
                return true;
            }
            path.pop_back();
        }
    }
    return false;
}

bool IndexEditor::findDecoded(std::uint32_t number, RowLocation row, std::vector<Frame>& path,
                              std::size_t& entry, int depth) {
    EditableIndexPage& page = load(number);
    if (page.leaf) {
        for (std::size_t i = 0; i < page.entries.size(); ++i) {
            const auto& b = page.entries[i].bytes;
            const std::uint8_t* ptr = b.data() + b.size() - 4;
            if (ptr[3] == row.row && be24(ptr) == row.page) {
                entry = i;
                return true;
            }
        }
        return false;
    }
    std::size_t n = page.entries.size();
    for (std::size_t i = 0; i <= n; ++i) {
        std::uint32_t child = i < n ? pages_.at(number).childOf(i) : pages_.at(number).tail;
        if (i == n && child == 0) break;
        path.push_back({child, i < n ? long(i) : -1});
        if (find(child, row, path, entry, depth + 1)) return true;
        path.pop_back();
    }
    return false;
}

bool IndexEditor::removeRow(std::uint32_t root, RowLocation row) {
    pages_.clear();
    order_.clear();
    freed_.clear();
    dirty_.clear();
    root_ = root;
    std::vector<Frame> path{{root, -1}};
    std::size_t entry = 0;
    if (!find(root, row, path, entry, 0)) return false;
    EditableIndexPage& leaf = pages_.at(path.back().page);
    bool wasLast = entry + 1 == leaf.entries.size();
    leaf.entries.erase(leaf.entries.begin() + static_cast<std::ptrdiff_t>(entry));
    dirty_.insert(leaf.number);
    if (leaf.entries.empty())
        removeChild(path, path.size() - 1);
    else if (wasLast)
        replaceLast(path, path.size() - 1, leaf.entries.back().bytes);
    stageAll();
    return true;
}

// The page at path[level] has a new last leaf entry: each ancestor that
// names the page by an entry gets that entry's key and row pointer replaced,
// as far up as the page stays the last child.
void IndexEditor::replaceLast(std::vector<Frame>& path, std::size_t level,
                              const std::vector<std::uint8_t>& lastLeafEntry) {
    for (std::size_t l = level; l > 0; --l) {
        EditableIndexPage& parent = pages_.at(path[l - 1].page);
        long pos = path[l].position;
        if (pos < 0) continue;  // a tail child has no entry; its parent's last moved with it
        auto& bytes = parent.entries[std::size_t(pos)].bytes;
        std::vector<std::uint8_t> child(bytes.end() - 4, bytes.end());
        bytes = lastLeafEntry;
        bytes.insert(bytes.end(), child.begin(), child.end());
        dirty_.insert(parent.number);
        bool parentLast = std::size_t(pos) + 1 == parent.entries.size() && parent.tail == 0;
        if (!parentLast) return;
    }
}

// The page at path[level] has no entries left: the root becomes an empty
// leaf; any other page leaves its parent and its siblings and is freed.
void IndexEditor::removeChild(std::vector<Frame>& path, std::size_t level) {
    EditableIndexPage& page = pages_.at(path[level].page);
    if (level == 0) {
        page.leaf = true;
        page.tail = 0;
        dirty_.insert(page.number);
        return;
    }
    if (page.tail != 0)
        throw Error(ErrorCategory::Corruption, place_ + ": page " + std::to_string(page.number) +
                                                   " has no entries but a tail child.");
    if (page.prev) {
        auto& prev = load(page.prev);
        if (prev.next != page.number)
            throw Error(ErrorCategory::Corruption, place_ + ": page " + std::to_string(prev.number) +
                                                       " does not link forward to its sibling " +
                                                       std::to_string(page.number) + ".");
        prev.next = page.next;
        dirty_.insert(prev.number);
    }
    if (page.next) {
        auto& next = load(page.next);
        if (next.prev != page.number)
            throw Error(ErrorCategory::Corruption, place_ + ": page " + std::to_string(next.number) +
                                                       " does not link back to its sibling " +
                                                       std::to_string(page.number) + ".");
        next.prev = page.prev;
        dirty_.insert(next.number);
    }
    freed_.push_back(page.number);
    dirty_.insert(page.number);

    EditableIndexPage& parent = pages_.at(path[level - 1].page);
    dirty_.insert(parent.number);
    long pos = path[level].position;
    bool parentLastChanged;
    if (pos < 0) {
        parent.tail = 0;
        parentLastChanged = true;
    } else {
        parentLastChanged = std::size_t(pos) + 1 == parent.entries.size() && parent.tail == 0;
        parent.entries.erase(parent.entries.begin() + pos);
    }
    if (parent.entries.empty() && parent.tail == 0) {
        removeChild(path, level - 1);
        return;
    }
    if (!parentLastChanged) return;
    if (parent.tail != 0) return;
    // The parent's new last child entry already holds that child's last key.
    std::vector<std::uint8_t> last = parent.entries.back().bytes;
    last.resize(last.size() - f::kIndexChildPointerSize);
    replaceLast(path, level - 1, last);
}

void IndexEditor::stageAll() {
    // Only pages this removal changed are rewritten: every other page keeps
    // its bytes exactly, whatever layout its writer chose.
    for (std::uint32_t number : order_) {
        if (!dirty_.count(number)) continue;
        EditableIndexPage& page = pages_.at(number);
        std::vector<std::uint8_t> image;
        if (std::find(freed_.begin(), freed_.end(), number) != freed_.end()) {
            // A freed page keeps no index type, so nothing can take it for
            // part of the tree; compacting the database reclaims it.
            image.assign(f::kPageSize, 0);
        } else {
            auto encoded = page.encode();
            if (!encoded)
                throw Error(ErrorCategory::NotSupported,
                            place_ + ": page " + std::to_string(number) +
                                " cannot hold its changed entries; compact the database in Access first.");
            image = std::move(*encoded);
        }
        if (image == page.original) continue;
        const auto& originalOnDisk = *pager_.page(number, "index page");
        changes_.stage(number, std::vector<std::uint8_t>(originalOnDisk.begin(), originalOnDisk.end()),
                       std::move(image));
    }
}

}  // namespace jet::detail
