// What the search box's text does to the price-list query.
#pragma once

#include <QString>

namespace dorvak {

class Query;

// Fewer than 3 characters (spaces count): a notice, and nothing else changes.
// Otherwise the query is re-run for the codes beginning with the text as
// typed; "%" and "_" in the text keep their LIKE meaning. Throws what
// OpenQuery throws.
void ApplySearchRule(Query& query, const QString& searchText);

}  // namespace dorvak
