// A structural check of every table of a database: what Access and other
// readers rely on after our writes.
#pragma once

#include <string>
#include <vector>

namespace jet::detail {

class DatabaseImpl;

// One line per problem, empty when consistent. Checks, per table: the row
// count against the live rows; per index: exactly one entry per live row it
// should hold and none for others, entries in order, prefix, entry mask and
// free-space word matching the entries, sibling and parent links agreeing.
// The caller holds at least the shared lock and has refreshed the pager.
std::vector<std::string> checkIntegrity(DatabaseImpl& db);

}  // namespace jet::detail
