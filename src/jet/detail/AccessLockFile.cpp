#include "jet/detail/AccessLockFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "jet/Error.h"

namespace jet::detail {

std::string AccessLockFile::pathFor(const std::string& dbPath) {
    auto dot = dbPath.find_last_of('.');
    auto slash = dbPath.find_last_of('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return dbPath + ".ldb";
    return dbPath.substr(0, dot) + ".ldb";
}

bool AccessLockFile::inUse(const std::string& dbPath) {
    const std::string path = pathFor(dbPath);
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    // Ask whether a write lock over the whole file would conflict: that is
    // the case as soon as any process holds any lock on any byte, shared or
    // exclusive, whether by fcntl record locks (Samba, Wine) or OFD locks.
    struct flock fl{};
    fl.l_type = F_WRLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;
    fl.l_pid = 0;
    int rc = ::fcntl(fd, F_OFD_GETLK, &fl);
    ::close(fd);
    return rc == 0 && fl.l_type != F_UNLCK;
}

void AccessLockFile::requireNotInUse(const std::string& dbPath) {
    if (inUse(dbPath))
        throw Error(ErrorCategory::Locked,
                    "The database is open in another program (its lock file '" + pathFor(dbPath) +
                        "' is in use). Close that program and try again.");
}

}  // namespace jet::detail
