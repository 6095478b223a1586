// Re-running a query with new parameter values.
#pragma once

#include <QStringList>
#include <QVariantList>

namespace dorvak {

class Query;

// Closes `query`, binds values[i] to the parameter named names[i] (case of
// a-z ignored; empty names skipped) and opens it again. Lists of different
// length are answered with a notice and leave the query closed. Throws
// DatabaseError for an unknown name (later values unbound, query closed) and
// for a failed open.
void OpenQuery(Query& query, const QStringList& names, const QVariantList& values);

}  // namespace dorvak
