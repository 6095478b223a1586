// Deleting a row, in this order (each step only stages page images; nothing
// reaches the file until every step has succeeded):
//   1. validate the request and take the exclusive lock;
//   2. refuse if the row is already deleted or no longer matches the snapshot;
//   3. read its key columns (the decoded row);
//   4. check the relationships in which its table is the "one" side: refuse,
//      or cascade to the referring rows (each going through 5-7 itself);
//   5. set the deleted flag on the row's slot;
//   6. remove its entry from every index of the table;
//   7. decrement the table's row count;
// then the journal writes all staged pages as one crash-safe unit.
#include "jet/detail/RowDeleter.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>

#include "jet/Error.h"
#include "jet/detail/AccessLockFile.h"
#include "jet/detail/DataPage.h"
#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/FileLock.h"
#include "jet/detail/Format.h"
#include "jet/detail/IndexEditor.h"
#include "jet/detail/Journal.h"
#include "jet/detail/Relationships.h"
#include "jet/detail/ResultSetStorage.h"
#include "jet/detail/RowDecoder.h"

namespace jet::detail {

namespace f = format;

namespace {

const char* const kRowChanged =
    "Row cannot be located for updating. Some values may have been changed since it was last read.";

// Cascades that refer back to themselves stop here.
constexpr int kMaxCascadeDepth = 8;

std::uint16_t le16(const std::vector<std::uint8_t>& b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}
std::uint32_t le32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// One writer per open database, so that its failed state outlives the call.
struct WriterRegistry {
    std::mutex mutex;
    std::map<std::pair<const DatabaseImpl*, const PageFile*>, std::unique_ptr<Journal>> journals;
};
WriterRegistry& registry() {
    static WriterRegistry r;
    return r;
}

class Deletion {
public:
    explicit Deletion(DatabaseImpl& db) : db_(db) {}

    // The current image of a page: staged by this deletion, or as on disk.
    std::vector<std::uint8_t> page(std::uint32_t number) {
        if (const auto* staged = changes_.modified(number)) return *staged;
        PagePtr p = db_.pager().page(number, "page");
        return *p;
    }
    void stage(std::uint32_t number, std::vector<std::uint8_t> image) {
        PagePtr original = db_.pager().page(number, "page");
        changes_.stage(number, *original, std::move(image));
    }

    // The row's bytes, following a moved row to where it lives. Empty
    // optional when the slot is deleted.
    std::optional<std::span<const std::uint8_t>> rowBytes(RowLocation loc, std::vector<PagePtr>& holders) {
        PagePtr p = db_.pager().page(loc.page, "data page");
        holders.push_back(p);
        if ((*p)[0] != std::uint8_t(f::PageType::Data)) return std::nullopt;
        ByteReader r = db_.pager().reader(p, loc.page);
        DataPage dp(r);
        if (loc.row >= dp.rowCount()) return std::nullopt;
        RowSlot s = dp.slot(loc.row);
        if (s.deleted) return std::nullopt;
        std::span<const std::uint8_t> row(p->data() + s.start, s.end - s.start);
        for (int hop = 0; s.overflow; ++hop) {
            if (hop > 8 || row.size() < f::kRowPointerSize)
                throw Error(ErrorCategory::Corruption, r.place() + ": row " + std::to_string(loc.row) +
                                                           " has a broken or looping overflow pointer.");
            std::uint32_t pointer = le32(row.data());
            std::uint32_t targetPage = pointer >> 8;
            auto targetRow = static_cast<std::uint16_t>(pointer & 0xFF);
            PagePtr t = db_.pager().page(targetPage, f::PageType::Data, "overflow row page");
            holders.push_back(t);
            ByteReader tr = db_.pager().reader(t, targetPage);
            DataPage tp(tr);
            s = tp.slot(targetRow);
            if (s.start < f::kDataRowTableOffset || s.start > s.end || s.end > tr.size())
                throw Error(ErrorCategory::Corruption, tr.place() + ": overflow row lies outside the page.");
            row = std::span<const std::uint8_t>(t->data() + s.start, s.end - s.start);
        }
        return row;
    }

    // Stages the deletion of the live row at `loc` of `table`, whose values
    // `row` has loaded, with its cascades.
    void remove(const TableDefinition& table, RowLocation loc, RowDecoder& row, int depth) {
        if (depth > kMaxCascadeDepth)
            throw Error(ErrorCategory::NotSupported, "Cascading deletes nest deeper than " +
                                                         std::to_string(kMaxCascadeDepth) + " tables.");
        // Step 4: relationships.
        for (ReferringRows& ref : referringRows(db_, table, row)) {
            if (!ref.cascadeDeletes)
                throw Error(ErrorCategory::Conflict, "The record cannot be deleted or changed because table '" +
                                                         ref.table.name + "' includes related records.");
            for (RowLocation r : ref.rows) {
                if (alreadyStaged(ref.table, r)) continue;
                std::vector<PagePtr> holders;
                auto bytes = rowBytes(r, holders);
                if (!bytes) continue;
                RowDecoder decoder(db_.pager(), ref.table);
                decoder.load(*bytes, r.page, r.row);
                remove(ref.table, r, decoder, depth + 1);
            }
        }
        deleted_.emplace_back(table.firstPage, loc);

        // Step 5: the slot of the header row carries the flag, also when the
        // data moved; the overflow bit goes with it, as Access sets both.
        auto data = page(loc.page);
        std::size_t slot = DataPage::slotOffset(loc.row);
        std::uint16_t raw = le16(data, slot) | f::kRowDeletedFlag | f::kRowOverflowFlag;
        data[slot] = static_cast<std::uint8_t>(raw);
        data[slot + 1] = static_cast<std::uint8_t>(raw >> 8);
        stage(loc.page, std::move(data));

        // Step 6: every physical index, found by the row pointer alone, so
        // that no key has to be encoded in the index's sort order.
        for (std::size_t i = 0; i < table.physicalIndexes.size(); ++i) {
            const PhysicalIndex& ix = table.physicalIndexes[i];
            std::string place = "'" + db_.path() + "' table '" + table.name + "' index " + indexName(table, i);
            IndexEditor editor(db_.pager(), changes_, place);
            if (editor.removeRow(ix.rootPage, loc)) {
                for (std::uint32_t freed : editor.freedPages()) markFree(freed);
                continue;
            }
            if (ix.ignoreNulls() && allKeyColumnsNull(table, ix, row)) continue;
            throw Error(ErrorCategory::Corruption,
                        "The database file is damaged: " + place + " has no entry for the row at page " +
                            std::to_string(loc.page) + ", row " + std::to_string(loc.row) +
                            ". Nothing was deleted; compact and repair the database in Access.");
        }

        // Step 7: the row count on the first definition page.
        auto def = page(table.firstPage);
        std::uint32_t count = le32(def.data() + f::kTdefRowCountOffset);
        if (count == 0)
            throw Error(ErrorCategory::Corruption, "The database file is damaged: table '" + table.name +
                                                       "' counts no rows but has one to delete.");
        --count;
        for (int b = 0; b < 4; ++b) def[f::kTdefRowCountOffset + b] = static_cast<std::uint8_t>(count >> (8 * b));
        stage(table.firstPage, std::move(def));
    }

    PageChanges& changes() { return changes_; }

private:
    // Marks `number` free in the database's global usage map (page 1, row 0),
    // where a set bit means free, so that Access can reuse the page. A page
    // the map does not cover stays unused until a compaction.
    void markFree(std::uint32_t number) {
        constexpr std::uint32_t kGlobalMapPage = 1;
        auto data = page(kGlobalMapPage);
        if (data[0] != std::uint8_t(f::PageType::Data)) return;
        ByteReader r(data, "global usage map");
        DataPage dp(r);
        if (dp.rowCount() == 0) return;
        RowSlot s = dp.slot(0);
        if (s.deleted || s.end - s.start < f::kUsageMapInlineBitmapOffset) return;
        if (data[s.start] == f::kUsageMapInline) {
            std::uint32_t first = le32(data.data() + s.start + f::kUsageMapInlineStartOffset);
            std::size_t bits = std::size_t(s.end - s.start - f::kUsageMapInlineBitmapOffset) * 8;
            if (number < first || number - first >= bits) return;
            std::size_t bit = number - first;
            data[s.start + f::kUsageMapInlineBitmapOffset + bit / 8] |= std::uint8_t(1u << (bit % 8));
            stage(kGlobalMapPage, std::move(data));
        } else if (data[s.start] == f::kUsageMapIndirect) {
            std::size_t slot = number / f::kUsageMapPagesPerMapPage;
            std::size_t at = s.start + 1 + slot * 4;
            if (at + 4 > s.end) return;
            std::uint32_t mapPage = le32(data.data() + at);
            if (mapPage == 0) return;
            auto map = page(mapPage);
            if (map[0] != std::uint8_t(f::PageType::UsageMap)) return;
            std::size_t bit = number % f::kUsageMapPagesPerMapPage;
            map[f::kUsageMapPageBitmapOffset + bit / 8] |= std::uint8_t(1u << (bit % 8));
            stage(mapPage, std::move(map));
        }
    }

    bool alreadyStaged(const TableDefinition& t, RowLocation loc) const {
        return std::find(deleted_.begin(), deleted_.end(), std::make_pair(t.firstPage, loc)) != deleted_.end();
    }
    static std::string indexName(const TableDefinition& t, std::size_t physical) {
        for (const auto& li : t.logicalIndexes)
            if (li.physical == physical) return "'" + li.name + "'";
        return std::to_string(physical);
    }
    static bool allKeyColumnsNull(const TableDefinition& t, const PhysicalIndex& ix, RowDecoder& row) {
        for (const auto& c : ix.columns) {
            for (std::size_t i = 0; i < t.columns.size(); ++i)
                if (t.columns[i].number == c.columnNumber && !row.isNull(i)) return false;
        }
        return true;
    }

    DatabaseImpl& db_;
    PageChanges changes_;
    std::vector<std::pair<std::uint32_t, RowLocation>> deleted_;
};

// Whether the stored row still holds exactly the snapshot's values.
bool matchesSnapshot(const TableDefinition& table, RowDecoder& row, const ResultSet& result, std::size_t index) {
    const ResultSet::Storage& snap = result.storage();
    ResultSet::Storage now;
    now.columns = snap.columns;
    for (std::size_t c = 0; c < snap.columns.size(); ++c) {
        int column = table.findColumn(snap.columns[c].name);
        if (column < 0) return false;
        row.appendCell(std::size_t(column), now);
    }
    for (std::size_t c = 0; c < snap.columns.size(); ++c) {
        const auto& a = snap.cell(index, c);
        const auto& b = now.cells[c];
        if (a.size != b.size) return false;
        if (a.size == ResultSet::Storage::kNull) continue;
        if (!std::equal(snap.pool.begin() + a.offset, snap.pool.begin() + a.offset + a.size,
                        now.pool.begin() + b.offset))
            return false;
    }
    return true;
}

}  // namespace

Journal& journalFor(DatabaseImpl& db, JournalFileSystem& fs) {
    auto& r = registry();
    std::lock_guard<std::mutex> guard(r.mutex);
    auto& j = r.journals[{&db, &db.file()}];
    if (!j) j = std::make_unique<Journal>(db.path(), db.file(), fs);
    return *j;
}

void forgetJournal(const DatabaseImpl& db) {
    auto& r = registry();
    std::lock_guard<std::mutex> guard(r.mutex);
    for (auto it = r.journals.begin(); it != r.journals.end();)
        it = it->first.first == &db ? r.journals.erase(it) : std::next(it);
}

void deleteRowInFile(DatabaseImpl& db, ResultSet& result, std::size_t row, JournalFileSystem& fs) {
    // Step 1: validate, lock, and roll back what a crashed writer left.
    if (row >= result.rowCount())
        throw Error(ErrorCategory::InvalidArgument, "Either BOF or EOF is True, or the current record has been deleted.");
    Journal& journal = journalFor(db, fs);
    if (journal.failed())
        throw Error(ErrorCategory::Io, "An earlier write to '" + db.path() +
                                           "' failed; close and reopen the database before changing it again.");
    FileLock lock(db.file(), FileLock::Kind::Exclusive);
    AccessLockFile::requireNotInUse(db.path());
    recoverJournalLocked(db.path(), db.file(), fs);
    db.pager().refresh();

    TableDefinition table = db.table(result.tableName());
    RowLocation loc = result.location(row);
    Deletion deletion(db);

    // Steps 2 and 3: the row as it is now must be the row the user saw.
    std::vector<PagePtr> holders;
    auto bytes = deletion.rowBytes(loc, holders);
    if (!bytes) throw Error(ErrorCategory::Conflict, kRowChanged);
    RowDecoder decoder(db.pager(), table);
    decoder.load(*bytes, loc.page, loc.row);
    if (!matchesSnapshot(table, decoder, result, row)) throw Error(ErrorCategory::Conflict, kRowChanged);

    // Steps 4 to 7, staged; then one journaled write.
    deletion.remove(table, loc, decoder, 0);
    journal.commit(deletion.changes());
    result.removeRow(row);
}

}  // namespace jet::detail
