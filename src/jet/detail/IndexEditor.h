// Removes one row's entry from an index B-tree, staging every page it must
// change (leaf, parents, siblings, freed pages) without writing anything.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <optional>
#include <string>
#include <vector>

#include "jet/ResultSet.h"
#include "jet/detail/Journal.h"
#include "jet/detail/Pager.h"

namespace jet::detail {

// An index page held for editing: entries with their prefix restored.
struct EditableIndexPage {
    struct Entry {
        std::vector<std::uint8_t> bytes;  // key, 4-byte row pointer, on nodes a 4-byte child
    };
    std::uint32_t number = 0;
    bool leaf = true;
    std::uint32_t prev = 0, next = 0, tail = 0;
    std::vector<Entry> entries;
    std::vector<std::uint8_t> original;  // the page as read

    // Decodes `page`; Error(Corruption) naming `place` when its mask,
    // prefix or entries do not fit.
    static EditableIndexPage decode(std::uint32_t number, const std::vector<std::uint8_t>& page,
                                    const std::string& place);
    // The page image: header kept, links, prefix, mask, entries and free
    // space rebuilt, unused bytes zeroed. Empty optional when it does not fit.
    std::optional<std::vector<std::uint8_t>> encode() const;
    std::uint32_t childOf(std::size_t entry) const;
};

class IndexEditor {
public:
    // `changes` collects the pages; pages already staged in it are read from
    // there, so several indexes and rows can be edited in one write.
    IndexEditor(Pager& pager, PageChanges& changes, std::string place);

    // Stages the removal of the entry pointing at `row` from the index whose
    // root page is `root`. Returns false, staging nothing, when no entry
    // points there. Error(Corruption) when the tree is damaged,
    // Error(NotSupported) when a parent page cannot take a changed entry.
    bool removeRow(std::uint32_t root, RowLocation row);
    // Pages the last removeRow() took out of the tree (their images are zeroed).
    const std::vector<std::uint32_t>& freedPages() const { return freed_; }

private:
    struct Frame {
        std::uint32_t page;
        long position;  // index into the parent's entries, -1 for its tail
    };
    EditableIndexPage& load(std::uint32_t number);
    bool find(std::uint32_t page, RowLocation row, std::vector<Frame>& path, std::size_t& entry,
              int depth);
    bool findDecoded(std::uint32_t page, RowLocation row, std::vector<Frame>& path, std::size_t& entry,
                     int depth);
    void replaceLast(std::vector<Frame>& path, std::size_t level,
                     const std::vector<std::uint8_t>& lastLeafEntry);
    void removeChild(std::vector<Frame>& path, std::size_t level);
    void stageAll();

    Pager& pager_;
    PageChanges& changes_;
    std::string place_;
    std::uint32_t root_ = 0;
    std::vector<std::uint32_t> order_;  // pages loaded, in load order
    std::vector<std::uint32_t> freed_;
    std::set<std::uint32_t> dirty_;  // pages this removal changed
    std::map<std::uint32_t, EditableIndexPage> pages_;
};

}  // namespace jet::detail
