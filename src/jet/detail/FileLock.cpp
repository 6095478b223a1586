#include "jet/detail/FileLock.h"

namespace jet::detail {

FileLock::FileLock(PageFile& file, Kind kind) : file_(file) {
    if (kind == Kind::Shared)
        file_.lockShared();
    else
        file_.lockExclusive();
}

FileLock::~FileLock() {
    try {
        file_.unlock();
    } catch (...) {
        // Closing the file drops the lock anyway; a destructor must not throw.
    }
}

}  // namespace jet::detail
