// The engine behind jet::Database: the catalog, table definitions, scans and
// the price-list statement over one open file.
#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "jet/Database.h"
#include "jet/detail/Pager.h"
#include "jet/detail/RowDecoder.h"
#include "jet/detail/TableDefinition.h"

namespace jet::detail {

struct CatalogEntry {
    std::string name;
    std::int32_t type = 0;
    std::uint32_t flags = 0;
    std::uint32_t page = 0;  // table definition page
    bool systemTable() const { return flags & 0x80000002u; }
};

class DatabaseImpl : public Database {
public:
    // Takes the open file; recovers an interrupted write, then validates it.
    DatabaseImpl(std::string path, std::unique_ptr<PageFile> file);
    // Drops the writer state kept for this file (see journalFor).
    ~DatabaseImpl() override;

    std::vector<std::string> tableNames() override;
    ResultSet readTable(std::string_view table) override;
    ResultSet execute(std::string_view statement, const std::vector<std::u16string>& parameters) override;
    void deleteRow(ResultSet& result, std::size_t row) override;
    std::vector<std::string> check() override;

    PageFile& file() { return *file_; }
    // Pages as they are now; callers refresh() it when a new statement starts.
    Pager& pager() { return pager_; }
    std::vector<CatalogEntry> catalog();
    // A table (system tables included) by name, case-blind; Error(NotFound).
    TableDefinition table(std::string_view name);
    // Data pages of the table, ascending.
    std::vector<std::uint32_t> dataPages(const TableDefinition& table);
    // Calls `visit` for each live row in physical order with its location.
    // Overflowed rows are read from where they moved but keep their slot.
    void scan(const TableDefinition& table,
              const std::function<void(RowLocation, RowDecoder&)>& visit);
    // Row pointers of a physical index in key order (leaf pages walked).
    std::vector<RowLocation> indexOrder(const PhysicalIndex& index);

private:
    ResultSet run(const TableDefinition& table, int column, const std::u16string* pattern);

    std::unique_ptr<PageFile> file_;
    Pager pager_;
};

}  // namespace jet::detail
