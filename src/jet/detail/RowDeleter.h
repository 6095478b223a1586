// Deletion of one row of a snapshot from the file, with every index of its
// table and the relationships that depend on it kept consistent.
#pragma once

#include <cstddef>

#include "jet/ResultSet.h"
#include "jet/detail/Journal.h"

namespace jet::detail {

class DatabaseImpl;

// Deletes row `row` of `result` from `db`'s file and then from `result`.
// Refuses with Error(Conflict) when the row in the file no longer matches the
// snapshot or related records forbid it; on any error no byte of the file has
// changed (or a crash is rolled back at the next open).
void deleteRowInFile(DatabaseImpl& db, ResultSet& result, std::size_t row,
                     JournalFileSystem& fs = JournalFileSystem::real());

// The writer of `db`'s file, kept across calls so that a failed write keeps
// refusing until the database is reopened. forgetJournal() drops it (when
// the database is closed).
Journal& journalFor(DatabaseImpl& db, JournalFileSystem& fs = JournalFileSystem::real());
void forgetJournal(const DatabaseImpl& db);

}  // namespace jet::detail
