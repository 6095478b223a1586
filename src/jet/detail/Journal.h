// The rollback journal that makes a delete all-or-nothing across a crash:
// original page images are made durable beside the database before any page
// of the database is overwritten.
#pragma once

#include <string>

#include "jet/detail/PageFile.h"

namespace jet::detail {

// If a journal for `dbPath` exists (a write was interrupted), copies its
// intact original pages back into `file`, flushes, and removes the journal.
// Must run before anything of the file is read. A torn or foreign journal is
// discarded. Throws Error when the rollback itself cannot be written.
void recoverJournal(const std::string& dbPath, PageFile& file);

}  // namespace jet::detail
