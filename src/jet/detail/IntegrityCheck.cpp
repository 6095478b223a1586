#include "jet/detail/IntegrityCheck.h"

#include <algorithm>
#include <map>
#include <set>

#include "jet/Error.h"
#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/Format.h"
#include "jet/detail/IndexEditor.h"

namespace jet::detail {

namespace f = format;

namespace {

std::uint64_t packed(std::uint32_t page, std::uint8_t row) { return std::uint64_t(page) << 8 | row; }

std::uint32_t be24(const std::uint8_t* p) { return std::uint32_t(p[0]) << 16 | std::uint32_t(p[1]) << 8 | p[2]; }

class TreeCheck {
public:
    TreeCheck(DatabaseImpl& db, std::string place, std::vector<std::string>& problems)
        : db_(db), place_(std::move(place)), problems_(problems) {}

    // Walks the tree; fills `rows` with the leaf entries' row pointers.
    void run(std::uint32_t root, std::vector<std::uint64_t>& rows) {
        rows_ = &rows;
        std::vector<std::uint8_t> last;
        walk(root, 0, nullptr, last);
        // Sibling chains: each level's pages, left to right, must link both ways.
        for (auto& [depth, pages] : levels_) {
            for (std::size_t i = 0; i < pages.size(); ++i) {
                auto& p = pages[i];
                std::uint32_t wantPrev = i ? pages[i - 1].number : 0;
                std::uint32_t wantNext = i + 1 < pages.size() ? pages[i + 1].number : 0;
                if (p.prev != wantPrev || p.next != wantNext)
                    problem("page " + std::to_string(p.number) + " links to " + std::to_string(p.prev) + "/" +
                            std::to_string(p.next) + ", expected " + std::to_string(wantPrev) + "/" +
                            std::to_string(wantNext));
            }
        }
    }

private:
    struct Seen {
        std::uint32_t number, prev, next;
    };
    void problem(const std::string& what) { problems_.push_back(place_ + ": " + what); }

    // Checks the page and below; `expectedLast` (from the parent's entry)
    // must equal the key and row pointer of the subtree's last leaf entry.
    // Returns that last entry through `last`.
    void walk(std::uint32_t number, int depth, const std::vector<std::uint8_t>* expectedLast,
              std::vector<std::uint8_t>& last) {
        if (depth > 32 || !visited_.insert(number).second) {
            problem("page " + std::to_string(number) + " is reached twice (a cycle or shared page)");
            return;
        }
        EditableIndexPage page;
        std::vector<std::uint8_t> bytes;
        try {
            PagePtr p = db_.pager().page(number, "index page");
            bytes = *p;
            page = EditableIndexPage::decode(number, bytes, place_);
        } catch (const Error& e) {
            problem(e.what());
            return;
        }
        levels_[depth].push_back({number, page.prev, page.next});
        // Free space and the stored form: a page rebuilt from its entries must
        // use the same number of bytes and the stored prefix must be shared.
        std::size_t pointers = f::kIndexRowPointerSize + (page.leaf ? 0 : f::kIndexChildPointerSize);
        std::size_t lastEnd = 0;
        for (std::size_t i = 0; i < f::kIndexEntryMaskSize * 8; ++i)
            if (bytes[f::kIndexEntryMaskOffset + i / 8] & (1u << (i % 8))) lastEnd = i;
        std::size_t free = bytes[f::kDataFreeSpaceOffset] | bytes[f::kDataFreeSpaceOffset + 1] << 8;
        if (free != f::kPageSize - f::kIndexEntriesOffset - lastEnd)
            problem("page " + std::to_string(number) + " records " + std::to_string(free) +
                    " free bytes, its entries leave " + std::to_string(f::kPageSize - f::kIndexEntriesOffset - lastEnd));
        std::size_t prefix = bytes[f::kIndexPrefixLengthOffset] | bytes[f::kIndexPrefixLengthOffset + 1] << 8;
        for (std::size_t i = 1; i < page.entries.size(); ++i)
            if (page.entries[i].bytes.size() < prefix)
                problem("page " + std::to_string(number) + " entry " + std::to_string(i) + " is shorter than the prefix");
        // Order: keys ascending, equal keys by row pointer.
        for (std::size_t i = 1; i < page.entries.size(); ++i) {
            const auto& a = page.entries[i - 1].bytes;
            const auto& b = page.entries[i].bytes;
            std::vector<std::uint8_t> ka(a.begin(), a.end() - std::ptrdiff_t(pointers - 4));
            std::vector<std::uint8_t> kb(b.begin(), b.end() - std::ptrdiff_t(pointers - 4));
            if (!(ka < kb))
                problem("page " + std::to_string(number) + " entries " + std::to_string(i - 1) + " and " +
                        std::to_string(i) + " are out of order");
        }
        if (page.leaf) {
            for (const auto& e : page.entries) {
                const std::uint8_t* ptr = e.bytes.data() + e.bytes.size() - 4;
                rows_->push_back(packed(be24(ptr), ptr[3]));
            }
            if (!page.entries.empty()) last = page.entries.back().bytes;
            else last.clear();
        } else {
            std::vector<std::uint8_t> childLast;
            std::size_t n = page.entries.size();
            for (std::size_t i = 0; i < n; ++i) {
                std::vector<std::uint8_t> want(page.entries[i].bytes.begin(), page.entries[i].bytes.end() - 4);
                walk(page.childOf(i), depth + 1, &want, childLast);
            }
            if (page.tail) walk(page.tail, depth + 1, nullptr, childLast);
            last = childLast;
            if (n == 0 && !page.tail) problem("node page " + std::to_string(number) + " has no children");
        }
        if (expectedLast && *expectedLast != last)
            problem("the parent's entry for page " + std::to_string(number) +
                    " does not hold the page's last key");
    }

    DatabaseImpl& db_;
    std::string place_;
    std::vector<std::string>& problems_;
    std::vector<std::uint64_t>* rows_ = nullptr;
    std::set<std::uint32_t> visited_;
    std::map<int, std::vector<Seen>> levels_;
};

}  // namespace

std::vector<std::string> checkIntegrity(DatabaseImpl& db) {
    std::vector<std::string> problems;
    for (const auto& entry : db.catalog()) {
        if (entry.type != f::kObjectTypeTable) continue;
        TableDefinition t;
        try {
            t = TableDefinition::read(db.pager(), entry.page, entry.name);
        } catch (const Error& e) {
            problems.push_back(e.what());
            continue;
        }
        // Live rows, and for each index the rows it must hold.
        std::vector<std::uint64_t> live;
        std::vector<std::vector<std::uint64_t>> expected(t.physicalIndexes.size());
        try {
            db.scan(t, [&](RowLocation loc, RowDecoder& row) {
                std::uint64_t key = packed(loc.page, static_cast<std::uint8_t>(loc.row));
                live.push_back(key);
                for (std::size_t i = 0; i < t.physicalIndexes.size(); ++i) {
                    const auto& ix = t.physicalIndexes[i];
                    bool allNull = true;
                    for (const auto& c : ix.columns)
                        for (std::size_t k = 0; k < t.columns.size(); ++k)
                            if (t.columns[k].number == c.columnNumber && !row.isNull(k)) allNull = false;
                    if (!(ix.ignoreNulls() && allNull)) expected[i].push_back(key);
                }
            });
        } catch (const Error& e) {
            problems.push_back("table '" + t.name + "': " + e.what());
            continue;
        }
        if (live.size() != t.rowCount)
            problems.push_back("table '" + t.name + "': the definition counts " + std::to_string(t.rowCount) +
                               " rows, " + std::to_string(live.size()) + " are live");
        for (std::size_t i = 0; i < t.physicalIndexes.size(); ++i) {
            std::string name = std::to_string(i);
            for (const auto& li : t.logicalIndexes)
                if (li.physical == i) name = "'" + li.name + "'";
            std::string place = "table '" + t.name + "' index " + name;
            std::vector<std::uint64_t> rows;
            TreeCheck(db, place, problems).run(t.physicalIndexes[i].rootPage, rows);
            std::sort(rows.begin(), rows.end());
            auto& want = expected[i];
            std::sort(want.begin(), want.end());
            if (rows != want) {
                std::vector<std::uint64_t> missing, extra;
                std::set_difference(want.begin(), want.end(), rows.begin(), rows.end(), std::back_inserter(missing));
                std::set_difference(rows.begin(), rows.end(), want.begin(), want.end(), std::back_inserter(extra));
                auto loc = [](std::uint64_t k) { return std::to_string(k >> 8) + ":" + std::to_string(k & 0xFF); };
                for (auto k : missing) problems.push_back(place + ": no entry for row " + loc(k));
                for (auto k : extra) problems.push_back(place + ": an entry for row " + loc(k) + " that is not live or repeated");
            }
        }
    }
    return problems;
}

}  // namespace jet::detail
