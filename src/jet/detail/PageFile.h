// The one door through which the engine touches the database file, so that
// tests can put a memory file, a failing file or a crashing file in its place.
#pragma once

#include <cstdint>
#include <span>

namespace jet::detail {

class PageFile {
public:
    virtual ~PageFile() = default;

    // Current size of the file in bytes.
    virtual std::uint64_t size() = 0;
    // Reads exactly out.size() bytes at offset; a short read is an Error(Corruption)
    // naming the offset, an OS failure an Error(Io).
    virtual void read(std::uint64_t offset, std::span<std::uint8_t> out) = 0;
    // Writes all of data at offset. Throws Error(Io) / Error(ReadOnly).
    virtual void write(std::uint64_t offset, std::span<const std::uint8_t> data) = 0;
    // Makes every write before it durable. Throws Error(Io).
    virtual void sync() = 0;

    // Advisory locks between our own processes: shared while reading a
    // statement's rows, exclusive while a delete writes. Blocking. No-ops
    // where a file has no other users (memory files).
    virtual void lockShared() {}
    virtual void lockExclusive() {}
    virtual void unlock() {}
};

}  // namespace jet::detail
