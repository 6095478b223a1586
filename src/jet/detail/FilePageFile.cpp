#include "jet/detail/FilePageFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "jet/Error.h"
#include "jet/detail/Journal.h"

namespace jet::detail {

namespace {

std::string osMessage(const std::string& what, const std::string& path, int err) {
    return what + " '" + path + "': " + std::strerror(err);
}

std::string absolutePath(const std::string& path) {
    std::error_code ec;
    auto abs = std::filesystem::absolute(path, ec);
    return ec ? path : abs.lexically_normal().string();
}

}  // namespace

FilePageFile::FilePageFile(const std::string& path) : path_(absolutePath(path)) {
    do {
        fd_ = ::open(path_.c_str(), O_RDWR | O_CLOEXEC);
    } while (fd_ < 0 && errno == EINTR);
    if (fd_ < 0 && (errno == EACCES || errno == EROFS || errno == EPERM)) {
        do {
            fd_ = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
        } while (fd_ < 0 && errno == EINTR);
        readOnly_ = fd_ >= 0;
    }
    if (fd_ < 0) {
        int err = errno;
        if (err == ENOENT || err == ENOTDIR)
            throw Error(ErrorCategory::NotFound, "Could not find file '" + path_ + "'.");
        throw Error(ErrorCategory::Io, osMessage("Cannot open", path_, err));
    }
    struct stat st{};
    if (::fstat(fd_, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd_);
        fd_ = -1;
        throw Error(ErrorCategory::Io, "Cannot open '" + path_ + "': it is a directory");
    }
}

FilePageFile::~FilePageFile() {
    if (fd_ >= 0) ::close(fd_);  // closing releases our OFD locks
}

std::uint64_t FilePageFile::size() {
    struct stat st{};
    if (::fstat(fd_, &st) != 0) throw Error(ErrorCategory::Io, osMessage("Cannot stat", path_, errno));
    return static_cast<std::uint64_t>(st.st_size);
}

void FilePageFile::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    std::size_t done = 0;
    while (done < out.size()) {
        ssize_t n = ::pread(fd_, out.data() + done, out.size() - done,
                            static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw Error(ErrorCategory::Io, osMessage("Cannot read", path_, errno));
        }
        if (n == 0)
            throw Error(ErrorCategory::Corruption,
                        "File '" + path_ + "' ends before offset " +
                            std::to_string(offset + out.size()) + " (read at " +
                            std::to_string(offset) + ")");
        done += static_cast<std::size_t>(n);
    }
}

void FilePageFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    if (readOnly_)
        throw Error(ErrorCategory::ReadOnly, "The file '" + path_ + "' is read-only.");
    std::size_t done = 0;
    while (done < data.size()) {
        ssize_t n = ::pwrite(fd_, data.data() + done, data.size() - done,
                             static_cast<off_t>(offset + done));
        if (n < 0) {
            if (errno == EINTR) continue;
            throw Error(ErrorCategory::Io, osMessage("Cannot write", path_, errno));
        }
        if (n == 0) throw Error(ErrorCategory::Io, osMessage("Cannot write", path_, ENOSPC));
        done += static_cast<std::size_t>(n);
    }
}

void FilePageFile::sync() {
    int rc;
    do {
        rc = ::fsync(fd_);
    } while (rc != 0 && errno == EINTR);
    // A failed fsync may already have dropped the dirty pages: the caller must
    // treat the file as unknown, never retry and assume success.
    if (rc != 0) throw Error(ErrorCategory::Io, osMessage("Cannot flush", path_, errno));
}

void FilePageFile::setLock(short type) {
    struct flock fl{};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = 0;
    fl.l_len = 0;  // the whole file, however large it grows
    fl.l_pid = 0;  // required for OFD locks
    int rc;
    do {
        rc = ::fcntl(fd_, F_OFD_SETLKW, &fl);
    } while (rc != 0 && errno == EINTR);
    if (rc != 0) throw Error(ErrorCategory::Io, osMessage("Cannot lock", path_, errno));
}

void FilePageFile::lockShared() {
    setLock(F_RDLCK);
    // Writers hold the exclusive lock until their journal is gone, so a
    // journal seen under a shared lock is a crashed writer's: its pages may
    // be half written. Roll it back before anything is read.
    if (::access(journalPath(path_).c_str(), F_OK) == 0) {
        setLock(F_UNLCK);
        recoverJournal(path_, *this);
        setLock(F_RDLCK);
    }
}

void FilePageFile::lockExclusive() {
    // An exclusive lock needs a descriptor open for writing.
    if (readOnly_)
        throw Error(ErrorCategory::ReadOnly, "The file '" + path_ + "' is read-only.");
    setLock(F_WRLCK);
}

void FilePageFile::unlock() { setLock(F_UNLCK); }

}  // namespace jet::detail
