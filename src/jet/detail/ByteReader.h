// Little-endian reads over a span that refuse to leave it: the only way the
// engine looks at bytes from the file.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <string>

#include "jet/Error.h"

namespace jet::detail {

class ByteReader {
public:
    ByteReader(std::span<const std::uint8_t> bytes, std::string place)
        : bytes_(bytes), place_(std::move(place)) {}

    std::size_t size() const { return bytes_.size(); }
    std::span<const std::uint8_t> bytes() const { return bytes_; }
    const std::string& place() const { return place_; }

    // True when [offset, offset + length) lies inside the span.
    bool contains(std::size_t offset, std::size_t length) const {
        return offset <= bytes_.size() && length <= bytes_.size() - offset;
    }
    // Throws Error(Corruption) naming the place unless the range is inside.
    void require(std::size_t offset, std::size_t length, const char* what) const {
        if (!contains(offset, length))
            throw Error(ErrorCategory::Corruption,
                        place_ + ": " + what + " at offset " + std::to_string(offset) + " (" +
                            std::to_string(length) + " bytes) lies outside its " +
                            std::to_string(bytes_.size()) + " bytes.");
    }
    std::span<const std::uint8_t> slice(std::size_t offset, std::size_t length, const char* what) const {
        require(offset, length, what);
        return bytes_.subspan(offset, length);
    }

    std::uint8_t u8(std::size_t offset, const char* what = "byte") const {
        require(offset, 1, what);
        return bytes_[offset];
    }
    std::uint16_t u16(std::size_t offset, const char* what = "field") const {
        require(offset, 2, what);
        return static_cast<std::uint16_t>(bytes_[offset] | (bytes_[offset + 1] << 8));
    }
    std::uint32_t u24(std::size_t offset, const char* what = "field") const {
        require(offset, 3, what);
        return std::uint32_t(bytes_[offset]) | (std::uint32_t(bytes_[offset + 1]) << 8) |
               (std::uint32_t(bytes_[offset + 2]) << 16);
    }
    std::uint32_t u32(std::size_t offset, const char* what = "field") const {
        require(offset, 4, what);
        return std::uint32_t(bytes_[offset]) | (std::uint32_t(bytes_[offset + 1]) << 8) |
               (std::uint32_t(bytes_[offset + 2]) << 16) | (std::uint32_t(bytes_[offset + 3]) << 24);
    }
    std::uint64_t u64(std::size_t offset, const char* what = "field") const {
        require(offset, 8, what);
        return std::uint64_t(u32(offset)) | (std::uint64_t(u32(offset + 4)) << 32);
    }
    std::uint32_t u24be(std::size_t offset, const char* what = "field") const {
        require(offset, 3, what);
        return (std::uint32_t(bytes_[offset]) << 16) | (std::uint32_t(bytes_[offset + 1]) << 8) |
               std::uint32_t(bytes_[offset + 2]);
    }
    std::uint32_t u32be(std::size_t offset, const char* what = "field") const {
        require(offset, 4, what);
        return (std::uint32_t(bytes_[offset]) << 24) | (std::uint32_t(bytes_[offset + 1]) << 16) |
               (std::uint32_t(bytes_[offset + 2]) << 8) | std::uint32_t(bytes_[offset + 3]);
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::string place_;
};

// Unchecked little-endian loads for callers that already checked the range.
inline std::uint16_t loadU16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
inline std::uint32_t loadU32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16) |
           (std::uint32_t(p[3]) << 24);
}

}  // namespace jet::detail
