#include "jet/detail/DatabaseImpl.h"

#include <algorithm>
#include <cstring>
#include <unordered_set>

#include "jet/Error.h"
#include "jet/detail/DataPage.h"
#include "jet/detail/Format.h"
#include "jet/detail/Header.h"
#include "jet/detail/IndexPage.h"
#include "jet/detail/IntegrityCheck.h"
#include "jet/detail/Journal.h"
#include "jet/detail/LikePattern.h"
#include "jet/detail/ResultSetStorage.h"
#include "jet/detail/RowDeleter.h"
#include "jet/detail/Statement.h"
#include "jet/detail/UsageMap.h"

namespace jet::detail {

namespace f = format;

namespace {

// Holds the shared lock for as long as a statement reads pages, so our own
// deleting process never hands us a half-written page set.
class SharedLock {
public:
    explicit SharedLock(PageFile& file) : file_(file) { file_.lockShared(); }
    ~SharedLock() { file_.unlock(); }
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

private:
    PageFile& file_;
};


}  // namespace

DatabaseImpl::DatabaseImpl(std::string path, std::unique_ptr<PageFile> file)
    : Database(std::move(path)), file_(std::move(file)), pager_(*file_, this->path()) {
    recoverJournal(this->path(), *file_);
    validateHeader(*file_, this->path());
    SharedLock lock(*file_);
    pager_.refresh();
    // The catalog must be readable now, so a damaged file fails at open.
    catalog();
}

DatabaseImpl::~DatabaseImpl() { forgetJournal(*this); }

std::vector<CatalogEntry> DatabaseImpl::catalog() {
    TableDefinition sys = TableDefinition::read(pager_, f::kCatalogPage, "MSysObjects");
    int id = sys.findColumn("Id"), name = sys.findColumn("Name"), type = sys.findColumn("Type"),
        flags = sys.findColumn("Flags");
    if (id < 0 || name < 0 || type < 0 || flags < 0)
        throw Error(ErrorCategory::Corruption,
                    "The database file '" + path() + "' is damaged: its catalog lacks the columns it needs.");
    std::vector<CatalogEntry> out;
    std::u16string text;
    ResultSet::Storage cells;
    scan(sys, [&](RowLocation, RowDecoder& row) {
        CatalogEntry e;
        row.text(std::size_t(name), text);
        e.name = utf16ToUtf8(text);
        cells.cells.clear();
        cells.pool.clear();
        cells.columns.assign(3, Column{});
        row.appendCell(std::size_t(id), cells);
        row.appendCell(std::size_t(type), cells);
        row.appendCell(std::size_t(flags), cells);
        auto num = [&](std::size_t i) -> std::int64_t {
            const auto& c = cells.cells[i];
            if (c.size == ResultSet::Storage::kNull) return 0;
            std::int64_t v = 0;
            if (c.size == 2) { std::int16_t s; std::memcpy(&s, cells.pool.data() + c.offset, 2); v = s; }
            else if (c.size >= 4) { std::int32_t s; std::memcpy(&s, cells.pool.data() + c.offset, 4); v = s; }
            return v;
        };
        e.page = static_cast<std::uint32_t>(num(0)) & f::kObjectIdPageMask;
        e.type = static_cast<std::int32_t>(num(1));
        e.flags = static_cast<std::uint32_t>(num(2));
        out.push_back(std::move(e));
    });
    return out;
}

TableDefinition DatabaseImpl::table(std::string_view name) {
    for (const auto& e : catalog())
        if (e.type == f::kObjectTypeTable && equalsIgnoreAsciiCase(e.name, name))
            return TableDefinition::read(pager_, e.page, e.name);
    throw Error(ErrorCategory::NotFound, "The database engine cannot find the input table or query '" +
                                             std::string(name) +
                                             "'. Make sure it exists and that its name is spelled correctly.");
}

std::vector<std::string> DatabaseImpl::tableNames() {
    SharedLock lock(*file_);
    pager_.refresh();
    std::vector<std::string> out;
    for (const auto& e : catalog())
        if (e.type == f::kObjectTypeTable && !e.systemTable()) out.push_back(e.name);
    return out;
}

std::vector<std::uint32_t> DatabaseImpl::dataPages(const TableDefinition& t) {
    std::vector<std::uint32_t> out;
    auto pages = usageMapPages(pager_, t.usedPagesPointer);
    for (std::size_t k = 0; k < pages.size(); ++k) {
        std::uint32_t p = pages[k];
        if (k % 64 == 0) {
            // Owned pages mostly lie side by side; fetch the next stretch at once.
            std::size_t last = std::min(pages.size(), k + 64) - 1;
            if (pages[last] - p < 128) pager_.prefetch(p, pages[last] - p + 1);
        }
        PagePtr page = pager_.page(p);
        if ((*page)[0] == static_cast<std::uint8_t>(f::PageType::Data) &&
            loadU32(page->data() + f::kDataOwnerOffset) == t.firstPage)
            out.push_back(p);
    }
    return out;
}

void DatabaseImpl::scan(const TableDefinition& t, const std::function<void(RowLocation, RowDecoder&)>& visit) {
    RowDecoder decoder(pager_, t);
    auto pages = usageMapPages(pager_, t.usedPagesPointer);
    for (std::size_t k = 0; k < pages.size(); ++k) {
        std::uint32_t p = pages[k];
        if (k % 64 == 0) {
            std::size_t last = std::min(pages.size(), k + 64) - 1;
            if (pages[last] - p < 128) pager_.prefetch(p, pages[last] - p + 1);
        }
        PagePtr page = pager_.page(p);
        if ((*page)[0] != static_cast<std::uint8_t>(f::PageType::Data) ||
            loadU32(page->data() + f::kDataOwnerOffset) != t.firstPage)
            continue;
        ByteReader r = pager_.reader(page, p);
        DataPage dp(r);
        for (std::uint16_t i = 0; i < dp.rowCount(); ++i) {
            RowSlot s = dp.slot(i);
            if (s.deleted) continue;
            std::span<const std::uint8_t> row(page->data() + s.start, s.end - s.start);
            PagePtr holder;
            // A moved row may have moved again; more hops than this is a loop.
            for (int hop = 0; s.overflow; ++hop) {
                if (hop > 8 || row.size() < f::kRowPointerSize)
                    throw Error(ErrorCategory::Corruption, r.place() + ": row " + std::to_string(i) +
                                                               " has a broken or looping overflow pointer.");
                std::uint32_t pointer = loadU32(row.data());
                std::uint32_t targetPage = pointer >> 8;
                auto targetRow = static_cast<std::uint16_t>(pointer & 0xFF);
                holder = pager_.page(targetPage, f::PageType::Data, "overflow row page");
                ByteReader tr = pager_.reader(holder, targetPage);
                DataPage tp(tr);
                s = tp.slot(targetRow);
                if (s.start < f::kDataRowTableOffset || s.start > s.end || s.end > tr.size())
                    throw Error(ErrorCategory::Corruption, tr.place() + ": overflow row lies outside the page.");
                row = std::span<const std::uint8_t>(holder->data() + s.start, s.end - s.start);
            }
            decoder.load(row, p, i);
            visit(RowLocation{p, i}, decoder);
        }
    }
}

std::vector<RowLocation> DatabaseImpl::indexOrder(const PhysicalIndex& index) {
    std::vector<RowLocation> out;
    std::uint32_t page = index.rootPage;
    std::size_t steps = 0;
    // Descend along the first entries to the first leaf.
    for (;;) {
        if (++steps > pager_.pageCount())
            throw Error(ErrorCategory::Corruption, "The database file '" + path() + "' is damaged: an index tree loops.");
        PagePtr p = pager_.page(page, "index page");
        ByteReader r = pager_.reader(p, page);
        IndexPage ip(r);
        if (ip.leaf()) break;
        std::uint32_t child = 0;
        ip.forEach([&](std::span<const std::uint8_t>, std::uint32_t, std::uint8_t, std::uint32_t c) {
            if (!child) child = c;
        });
        if (!child) child = ip.tailPage();
        if (!child) return out;
        page = child;
    }
    std::unordered_set<std::uint32_t> seen;
    std::vector<std::pair<std::uint32_t, std::uint8_t>> pointers;
    while (page) {
        if (!seen.insert(page).second)
            throw Error(ErrorCategory::Corruption, "The database file '" + path() + "' is damaged: the leaf pages of an index form a loop at page " + std::to_string(page) + ".");
        PagePtr p = pager_.page(page, f::PageType::IndexLeaf, "index leaf page");
        ByteReader r = pager_.reader(p, page);
        IndexPage ip(r);
        pointers.clear();
        ip.forEachRowPointer(pointers);
        for (auto [rp, row] : pointers) out.push_back(RowLocation{rp, row});
        page = ip.nextPage();
    }
    return out;
}

ResultSet DatabaseImpl::run(const TableDefinition& t, int column, const std::u16string* pattern) {
    auto storage = std::make_shared<ResultSet::Storage>();
    storage->tableName = t.name;
    for (const auto& c : t.columns) storage->columns.push_back(c.column);
    std::optional<LikePattern> like;
    if (pattern) like.emplace(*pattern);
    std::u16string text;
    std::size_t n = t.columns.size();
    scan(t, [&](RowLocation loc, RowDecoder& row) {
        if (like) {
            if (!row.text(std::size_t(column), text) || !like->matches(text)) return;
        }
        storage->locations.push_back(loc);
        for (std::size_t c = 0; c < n; ++c) row.appendCell(c, *storage);
    });
    if (!pattern) return ResultSet(storage);

    // The reference engine answers through an index on the searched column
    // when there is one, so its rows come in that index's order.
    const PhysicalIndex* index = nullptr;
    for (const auto& li : t.logicalIndexes) {
        const PhysicalIndex& pi = t.physicalIndexes[li.physical];
        if (!pi.columns.empty() && pi.columns[0].columnNumber == t.columns[std::size_t(column)].number) {
            index = &pi;
            break;
        }
    }
    if (!index || storage->rowCount() < 2) return ResultSet(storage);
    // The scan visits pages and slots in ascending order, so a page's
    // matched rows are contiguous: index entries find theirs through the
    // page's first matched row, without a hash table or a sort.
    const auto& locs = storage->locations;
    std::vector<std::uint32_t> pageFirst(pager_.pageCount(), UINT32_MAX);
    for (std::size_t i = locs.size(); i-- > 0;) pageFirst[locs[i].page] = std::uint32_t(i);
    std::vector<std::size_t> order;
    order.reserve(locs.size());
    std::vector<bool> placed(locs.size(), false);
    for (RowLocation l : indexOrder(*index)) {
        if (l.page >= pageFirst.size() || pageFirst[l.page] == UINT32_MAX) continue;
        for (std::size_t i = pageFirst[l.page]; i < locs.size() && locs[i].page == l.page; ++i) {
            if (locs[i].row != l.row) continue;
            if (!placed[i]) {
                placed[i] = true;
                order.push_back(i);
            }
            break;
        }
    }
    // Rows the index does not hold (it ignores nulls, or is damaged) keep
    // their physical order after the indexed ones.
    for (std::size_t i = 0; i < locs.size(); ++i)
        if (!placed[i]) order.push_back(i);
    auto sorted = std::make_shared<ResultSet::Storage>();
    sorted->tableName = storage->tableName;
    sorted->columns = storage->columns;
    sorted->pool = std::move(storage->pool);
    sorted->locations.reserve(order.size());
    sorted->cells.reserve(storage->cells.size());
    for (std::size_t i : order) {
        sorted->locations.push_back(storage->locations[i]);
        sorted->cells.insert(sorted->cells.end(), storage->cells.begin() + i * n, storage->cells.begin() + (i + 1) * n);
    }
    return ResultSet(sorted);
}

ResultSet DatabaseImpl::readTable(std::string_view name) {
    SharedLock lock(*file_);
    pager_.refresh();
    return run(table(name), -1, nullptr);
}

ResultSet DatabaseImpl::execute(std::string_view statement, const std::vector<std::u16string>& parameters) {
    Statement st = Statement::parse(statement);
    std::size_t wanted = st.hasCondition() ? 1 : 0;
    if (parameters.size() != wanted)
        throw Error(ErrorCategory::InvalidArgument, "The statement takes " + std::to_string(wanted) +
                                                        " parameter(s), " + std::to_string(parameters.size()) +
                                                        " given.");
    SharedLock lock(*file_);
    pager_.refresh();
    TableDefinition t = table(st.table);
    if (!st.hasCondition()) return run(t, -1, nullptr);
    int column = t.findColumn(st.column);
    if (column < 0)
        throw Error(ErrorCategory::NotFound, "No value given for one or more required parameters: the table '" +
                                                 t.name + "' has no column '" + st.column + "'.");
    ColumnType type = t.columns[std::size_t(column)].column.type;
    if (type != ColumnType::Text && type != ColumnType::Memo)
        throw Error(ErrorCategory::NotSupported, "LIKE is supported on text columns only; column '" + st.column +
                                                     "' is not text.");
    return run(t, column, &parameters[0]);
}

void DatabaseImpl::deleteRow(ResultSet& result, std::size_t row) { deleteRowInFile(*this, result, row); }

std::vector<std::string> DatabaseImpl::check() {
    SharedLock lock(*file_);
    pager_.refresh();
    return checkIntegrity(*this);
}

}  // namespace jet::detail
