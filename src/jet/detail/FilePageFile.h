// The database file on disk behind the PageFile seam: positioned reads and
// writes, fsync, and the advisory locks our own processes share.
#pragma once

#include <string>

#include "jet/detail/PageFile.h"

namespace jet::detail {

class FilePageFile : public PageFile {
public:
    // Opens `path` for reading and writing; when the file or its permissions
    // allow only reading, opens it read-only and every write() then throws
    // Error(ReadOnly). A missing file is Error(NotFound) with the text
    // "Could not find file '<absolute path>'."; any other failure Error(Io).
    explicit FilePageFile(const std::string& path);
    ~FilePageFile() override;
    FilePageFile(const FilePageFile&) = delete;
    FilePageFile& operator=(const FilePageFile&) = delete;

    std::uint64_t size() override;
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    void sync() override;

    // Open-file-description locks (fcntl F_OFD_SETLKW) over the whole file:
    // unlike POSIX record locks they belong to this open file, not to the
    // process, so a second descriptor on the same file (the reader's, a
    // test's) closing does not silently drop them, and threads of one process
    // exclude each other like separate processes do. They do not interact
    // with flock(), which we never use. Re-locking converts the held lock.
    // Taking the shared lock first rolls back a crashed writer's journal.
    void lockShared() override;
    void lockExclusive() override;
    void unlock() override;

    bool readOnly() const { return readOnly_; }
    const std::string& path() const { return path_; }

private:
    void setLock(short type);

    std::string path_;  // absolute
    int fd_ = -1;
    bool readOnly_ = false;
};

}  // namespace jet::detail
