// The real file under the engine: messages users see, read-only files, and
// locks that really exclude another opener of the same file.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "jet/Error.h"
#include "jet/detail/AccessLockFile.h"
#include "jet/detail/FileLock.h"
#include "jet/detail/FilePageFile.h"

using namespace jet;
using namespace jet::detail;
namespace fs = std::filesystem;

namespace {

class TempDir {
public:
    TempDir() {
        char tmpl[] = "/tmp/dorvak-pagefile-XXXXXX";
        path_ = ::mkdtemp(tmpl);
    }
    ~TempDir() {
        std::error_code ec;
        fs::permissions(path_, fs::perms::owner_all, ec);
        fs::remove_all(path_, ec);
    }
    std::string file(const std::string& name, std::size_t bytes = 0) const {
        std::string p = path_ + "/" + name;
        std::ofstream(p) << std::string(bytes, 'a');
        return p;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace

TEST(FilePageFile, AMissingFileIsNotFoundWithItsAbsolutePath) {
    TempDir dir;
    fs::current_path(dir.path());
    try {
        FilePageFile f("Dorvak.mdb");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.category(), ErrorCategory::NotFound);
        EXPECT_EQ(std::string(e.what()), "Could not find file '" + dir.path() + "/Dorvak.mdb'.");
    }
}

TEST(FilePageFile, ReadsWritesAndReportsAShortReadAsCorruption) {
    TempDir dir;
    FilePageFile f(dir.file("a.mdb", 100));
    std::vector<std::uint8_t> data = {1, 2, 3};
    f.write(98, data);
    f.sync();
    EXPECT_EQ(f.size(), 101u);
    std::vector<std::uint8_t> out(3);
    f.read(98, out);
    EXPECT_EQ(out, data);
    std::vector<std::uint8_t> tooLong(10);
    try {
        f.read(95, tooLong);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.category(), ErrorCategory::Corruption);
    }
}

TEST(FilePageFile, AReadOnlyFileOpensForReadingAndRefusesWrites) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    TempDir dir;
    std::string p = dir.file("ro.mdb", 10);
    ::chmod(p.c_str(), 0444);
    FilePageFile f(p);
    EXPECT_TRUE(f.readOnly());
    std::vector<std::uint8_t> data = {1};
    try {
        f.write(0, data);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.category(), ErrorCategory::ReadOnly);
    }
}

TEST(FilePageFile, AnExclusiveLockKeepsASecondOpenerWaiting) {
    TempDir dir;
    std::string p = dir.file("l.mdb", 10);
    FilePageFile writer(p), reader(p);
    std::atomic<bool> readerIn{false};
    std::thread t;
    {
        FileLock lock(writer, FileLock::Kind::Exclusive);
        t = std::thread([&] {
            FileLock shared(reader, FileLock::Kind::Shared);
            readerIn = true;
        });
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        EXPECT_FALSE(readerIn.load());
    }
    t.join();
    EXPECT_TRUE(readerIn.load());
}

TEST(AccessLockFile, OnlyALockHeldByAnotherOpenerBlocks) {
    TempDir dir;
    std::string db = dir.path() + "/Dorvak.mdb";
    EXPECT_EQ(AccessLockFile::pathFor(db), dir.path() + "/Dorvak.ldb");
    EXPECT_FALSE(AccessLockFile::inUse(db));  // no lock file at all
    std::string ldb = dir.file("Dorvak.ldb", 64);
    EXPECT_FALSE(AccessLockFile::inUse(db));  // left behind by a crash
    int fd = ::open(ldb.c_str(), O_RDWR);
    struct flock fl{};
    fl.l_type = F_RDLCK;
    fl.l_whence = SEEK_SET;
    fl.l_start = 3;
    fl.l_len = 1;  // Jet locks single bytes
    ASSERT_EQ(::fcntl(fd, F_OFD_SETLK, &fl), 0);
    EXPECT_TRUE(AccessLockFile::inUse(db));
    try {
        AccessLockFile::requireNotInUse(db);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.category(), ErrorCategory::Locked);
    }
    ::close(fd);
    EXPECT_FALSE(AccessLockFile::inUse(db));
}
