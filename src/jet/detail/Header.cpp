#include "jet/detail/Header.h"

#include <cstring>
#include <vector>

#include "jet/Error.h"
#include "jet/detail/Format.h"

namespace jet::detail {

namespace f = format;

void validateHeader(PageFile& file, const std::string& name) {
    std::uint64_t size = file.size();
    auto notDb = [&] {
        return Error(ErrorCategory::Corruption,
                     "Unrecognized database format '" + name + "': the file is not a Microsoft Access database.");
    };
    if (size < 32) throw notDb();
    std::vector<std::uint8_t> head(std::min<std::uint64_t>(size, f::kPageSize));
    file.read(0, head);
    static const char jet[] = "Standard Jet DB";
    static const char ace[] = "Standard ACE DB";
    if (head[f::kPageTypeOffset] != static_cast<std::uint8_t>(f::PageType::Database)) throw notDb();
    bool isJet = std::memcmp(head.data() + f::kFormatIdOffset, jet, sizeof jet - 1) == 0;
    bool isAce = std::memcmp(head.data() + f::kFormatIdOffset, ace, sizeof ace - 1) == 0;
    if (!isJet && !isAce) throw notDb();
    std::uint8_t version = head[f::kVersionOffset];
    if (isAce || version >= 0x02)
        throw Error(ErrorCategory::NotSupported, "Unrecognized database format '" + name +
                                                     "': it is an Access 2007 or later (ACE) file; only Access "
                                                     "2000-2003 (Jet 4) files can be opened.");
    if (version == f::kVersionJet3)
        throw Error(ErrorCategory::NotSupported, "Unrecognized database format '" + name +
                                                     "': it is an Access 97 (Jet 3) file; only Access 2000-2003 "
                                                     "(Jet 4) files can be opened.");
    if (size % f::kPageSize != 0 || size < 3 * f::kPageSize)
        throw Error(ErrorCategory::Corruption, "The database file '" + name + "' is damaged: its size of " +
                                                   std::to_string(size) + " bytes is not a whole number of pages.");
}

}  // namespace jet::detail
