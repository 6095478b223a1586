// A database file held in memory: the base of the test doubles and of tools
// that work on a private copy. Writes past the end grow it.
#pragma once

#include <cstdint>
#include <vector>

#include "jet/detail/PageFile.h"

namespace jet::detail {

class MemoryPageFile : public PageFile {
public:
    MemoryPageFile() = default;
    explicit MemoryPageFile(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    std::uint64_t size() override { return bytes_.size(); }
    // A read past the end is Error(Corruption), as on a real file.
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    void sync() override {}

    const std::vector<std::uint8_t>& bytes() const { return bytes_; }
    std::vector<std::uint8_t>& bytes() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

}  // namespace jet::detail
