#include "jet/detail/MemoryPageFile.h"

#include <algorithm>
#include <string>

#include "jet/Error.h"

namespace jet::detail {

void MemoryPageFile::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    if (offset > bytes_.size() || out.size() > bytes_.size() - offset)
        throw Error(ErrorCategory::Corruption,
                    "Memory file ends before offset " + std::to_string(offset + out.size()));
    std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

void MemoryPageFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (offset + data.size() > bytes_.size()) bytes_.resize(offset + data.size());
    std::copy(data.begin(), data.end(), bytes_.begin() + static_cast<std::ptrdiff_t>(offset));
}

}  // namespace jet::detail
