// Page 0: tells a Jet 4 database from every other kind of file.
#pragma once

#include <string>

#include "jet/detail/PageFile.h"

namespace jet::detail {

// Throws Error(NotSupported) for Jet 3 and ACE files and Error(Corruption)
// for anything that is not a whole Jet 4 file; `name` is used in messages.
void validateHeader(PageFile& file, const std::string& name);

}  // namespace jet::detail
