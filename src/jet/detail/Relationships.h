// Enforced relationships in which a table is the "one" side: the rows of
// other tables that refer to one of its rows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "jet/ResultSet.h"
#include "jet/detail/TableDefinition.h"

namespace jet::detail {

class DatabaseImpl;
class RowDecoder;

struct ReferringRows {
    TableDefinition table;          // the "many" side
    bool cascadeDeletes = false;
    std::vector<RowLocation> rows;  // its rows that refer to the deleted row
};

// For each enforced relationship whose "one" side is `table`, the rows of
// the other table whose foreign key equals `row`'s key (`row` is loaded).
// Rows with a null key column refer to nothing.
std::vector<ReferringRows> referringRows(DatabaseImpl& db, const TableDefinition& table, RowDecoder& row);

}  // namespace jet::detail
