// Deletion of one row of a snapshot from the file, with every index of its
// table and the relationships that depend on it kept consistent.
#pragma once

#include <cstddef>

#include "jet/ResultSet.h"

namespace jet::detail {

class DatabaseImpl;

// Deletes row `row` of `result` from `db`'s file and then from `result`.
// Refuses with Error(Conflict) when the row in the file no longer matches the
// snapshot or related records forbid it; on any error no byte of the file has
// changed (or a crash is rolled back at the next open).
void deleteRowInFile(DatabaseImpl& db, ResultSet& result, std::size_t row);

}  // namespace jet::detail
