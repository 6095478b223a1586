#include "jet/detail/RowDeleter.h"

#include "jet/Error.h"

namespace jet::detail {

void deleteRowInFile(DatabaseImpl&, ResultSet&, std::size_t) {
    throw Error(ErrorCategory::NotSupported, "Deleting rows is not available yet.");
}

}  // namespace jet::detail
