#include "jet/detail/Journal.h"

namespace jet::detail {

void recoverJournal(const std::string&, PageFile&) {}

}  // namespace jet::detail
