// Holds a page file's advisory lock for one scope: shared while a statement
// reads, exclusive while a write runs. Releases it on every way out.
#pragma once

#include "jet/detail/PageFile.h"

namespace jet::detail {

class FileLock {
public:
    enum class Kind { Shared, Exclusive };

    // Blocks until the lock is granted. Throws Error(Io) / Error(ReadOnly).
    FileLock(PageFile& file, Kind kind);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

private:
    PageFile& file_;
};

}  // namespace jet::detail
