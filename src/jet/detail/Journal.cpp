// Rollback journal.
//
// A write to the database (one delete, with everything it touches) changes a
// handful of pages that must change together. The journal keeps the
// original image of each of those pages in "<database>-journal" while the
// pages are overwritten, so that a crash at any moment leaves either the old
// file (rolled back from the journal at the next open) or the new one.
//
// Journal file layout (little-endian):
//   header:  "DRVKJRNL" | u32 version (1) | u32 page size | u32 salt |
//            u32 record count | u64 database size | u32 CRC-32 of the above
//   records: u32 page number | page image | u32 CRC-32 of salt, number, image
//
// Invariants
//   1. No page of the database is written before the journal holding the
//      original image of every page of the write is complete and flushed,
//      together with its directory entry.
//   2. Hence a journal that is incomplete (bad header, a record missing or
//      failing its checksum) belongs to a write that never touched the
//      database: it is removed, never applied.
//   3. A complete journal is applied whole: every original goes back, the
//      database is flushed, and only then is the journal removed.
//   4. The journal is removed only after the database has been flushed; its
//      removal is the moment a write becomes permanent.
//   5. Every writer holds the database's exclusive lock from before it reads
//      the originals until after the journal is gone, and recovery takes the
//      same lock; so a journal seen under that lock is a crashed writer's.
//   6. After any failure once the database may have been touched, the writer
//      refuses all further writes (Failed is sticky) until the database is
//      reopened, because its idea of the file may no longer be true.
//   7. The salt is new for every write, so records can never be mistaken for
//      those of an earlier journal that happened to occupy the same bytes.
//
// States of a Journal (the function making each transition in brackets)
//
//   Idle --[commit: journal written and flushed]--> Journaling
//   Journaling --[commit: first page written]--> Writing
//   Writing --[commit: all pages written]--> Syncing
//   Syncing --[commit: database flushed]--> Finishing
//   Finishing --[commit: journal removed]--> Idle
//   Journaling failed before any database write --> Idle (file untouched)
//   Writing / Syncing / Finishing failed --[rollBackInPlace]--> Failed
//   Failed --(reopen: recoverJournal)--> a new Journal in Idle
#include "jet/detail/Journal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <optional>
#include <random>

#include "jet/Error.h"
#include "jet/detail/FilePageFile.h"
#include "jet/detail/Format.h"

namespace jet::detail {

namespace {

constexpr char kMagic[8] = {'D', 'R', 'V', 'K', 'J', 'R', 'N', 'L'};
constexpr std::uint32_t kVersion = 1;
constexpr std::size_t kHeaderSize = 8 + 4 + 4 + 4 + 4 + 8;  // without its checksum
constexpr std::size_t kRecordSize = 4 + format::kPageSize + 4;

std::uint32_t crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (std::uint8_t b : bytes) crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void put64(std::vector<std::uint8_t>& out, std::uint64_t v) {
    for (int i = 0; i < 8; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
std::uint32_t get32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

std::uint32_t recordChecksum(std::uint32_t salt, std::uint32_t page,
                             std::span<const std::uint8_t> image) {
    std::uint8_t head[8];
    for (int i = 0; i < 4; ++i) head[i] = static_cast<std::uint8_t>(salt >> (8 * i));
    for (int i = 0; i < 4; ++i) head[4 + i] = static_cast<std::uint8_t>(page >> (8 * i));
    return crc32(image, crc32(head));
}

// The original pages of a complete journal, or nothing when it is torn or
// not ours (invariant 2).
std::optional<std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>>> readJournal(
    PageFile& journal) {
    std::uint64_t size = journal.size();
    if (size < kHeaderSize + 4) return std::nullopt;
    std::vector<std::uint8_t> header(kHeaderSize + 4);
    journal.read(0, header);
    if (std::memcmp(header.data(), kMagic, 8) != 0) return std::nullopt;
    if (get32(&header[kHeaderSize]) != crc32(std::span(header).first(kHeaderSize)))
        return std::nullopt;
    if (get32(&header[8]) != kVersion || get32(&header[12]) != format::kPageSize)
        return std::nullopt;
    std::uint32_t salt = get32(&header[16]);
    std::uint32_t count = get32(&header[20]);
    if ((size - header.size()) / kRecordSize < count) return std::nullopt;
    std::vector<std::pair<std::uint32_t, std::vector<std::uint8_t>>> pages;
    std::vector<std::uint8_t> record(kRecordSize);
    for (std::uint32_t i = 0; i < count; ++i) {
        journal.read(header.size() + std::uint64_t(i) * kRecordSize, record);
        std::uint32_t page = get32(record.data());
        auto image = std::span(record).subspan(4, format::kPageSize);
        if (get32(&record[4 + format::kPageSize]) != recordChecksum(salt, page, image))
            return std::nullopt;
        pages.emplace_back(page, std::vector<std::uint8_t>(image.begin(), image.end()));
    }
    return pages;
}

class RealFileSystem : public JournalFileSystem {
public:
    std::unique_ptr<PageFile> create(const std::string& path) override {
        int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            int err = errno;
            if (err == EACCES || err == EROFS || err == EPERM)
                throw Error(ErrorCategory::ReadOnly,
                            "Cannot write in the folder of the database: the journal '" + path +
                                "' cannot be created (" + std::strerror(err) + ").");
            throw Error(ErrorCategory::Io,
                        "Cannot create the journal '" + path + "': " + std::strerror(err));
        }
        ::close(fd);
        return std::make_unique<FilePageFile>(path);
    }
    std::unique_ptr<PageFile> open(const std::string& path) override {
        if (!exists(path)) return nullptr;
        return std::make_unique<FilePageFile>(path);
    }
    bool exists(const std::string& path) override {
        struct stat st{};
        return ::lstat(path.c_str(), &st) == 0;
    }
    void remove(const std::string& path) override {
        if (::unlink(path.c_str()) != 0 && errno != ENOENT)
            throw Error(ErrorCategory::Io,
                        "Cannot remove the journal '" + path + "': " + std::strerror(errno));
        syncDirectory(path);
    }
    void syncDirectory(const std::string& path) override {
        std::string dir = std::filesystem::path(path).parent_path().string();
        if (dir.empty()) dir = ".";
        int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            throw Error(ErrorCategory::Io, "Cannot open the folder '" + dir + "': " + std::strerror(errno));
        int rc;
        do {
            rc = ::fsync(fd);
        } while (rc != 0 && errno == EINTR);
        int err = errno;
        ::close(fd);
        // Some file systems cannot flush a directory; the data is then as
        // durable as they make it, which is all we can have there.
        if (rc != 0 && err != EINVAL && err != ENOTSUP)
            throw Error(ErrorCategory::Io, "Cannot flush the folder '" + dir + "': " + std::strerror(err));
    }
};

}  // namespace

JournalFileSystem& JournalFileSystem::real() {
    static RealFileSystem fs;
    return fs;
}

std::string journalPath(const std::string& dbPath) { return dbPath + "-journal"; }

void recoverJournal(const std::string& dbPath, PageFile& file, JournalFileSystem& fs) {
    if (!fs.exists(journalPath(dbPath))) return;  // the common case costs one stat
    file.lockExclusive();
    struct Unlock {
        PageFile& f;
        ~Unlock() {
            try {
                f.unlock();
            } catch (...) {
            }
        }
    } unlock{file};
    recoverJournalLocked(dbPath, file, fs);
}

void recoverJournalLocked(const std::string& dbPath, PageFile& file, JournalFileSystem& fs) {
    const std::string path = journalPath(dbPath);
    auto journal = fs.open(path);
    if (!journal) return;  // the writer finished while we waited (invariant 5)
    auto pages = readJournal(*journal);
    journal.reset();
    if (pages) {
        for (const auto& [page, image] : *pages)
            file.write(std::uint64_t(page) * format::kPageSize, image);
        file.sync();
    }
    fs.remove(path);
}

void PageChanges::stage(std::uint32_t page, const std::vector<std::uint8_t>& original,
                        std::vector<std::uint8_t> modified) {
    auto it = pages_.find(page);
    if (it == pages_.end())
        pages_.emplace(page, Images{original, std::move(modified)});
    else
        it->second.modified = std::move(modified);
}

const std::vector<std::uint8_t>* PageChanges::modified(std::uint32_t page) const {
    auto it = pages_.find(page);
    return it == pages_.end() ? nullptr : &it->second.modified;
}

Journal::Journal(std::string dbPath, PageFile& file, JournalFileSystem& fs)
    : dbPath_(std::move(dbPath)), journalPath_(journalPath(dbPath_)), file_(file), fs_(fs) {
    std::random_device rd;
    salt_ = rd();
}

void Journal::commit(const PageChanges& changes) {
    if (state_ == State::Failed)
        throw Error(ErrorCategory::Io,
                    "An earlier write to '" + dbPath_ +
                        "' failed; close and reopen the database before changing it again.");
    if (changes.empty()) return;
    ++salt_;  // invariant 7

    // Journaling: nothing of the database is touched yet, so a failure here
    // leaves the file as it was and a later commit may try again.
    {
        std::vector<std::uint8_t> bytes(kMagic, kMagic + 8);
        put32(bytes, kVersion);
        put32(bytes, format::kPageSize);
        put32(bytes, salt_);
        put32(bytes, static_cast<std::uint32_t>(changes.pages().size()));
        put64(bytes, file_.size());
        put32(bytes, crc32(bytes));
        for (const auto& [page, images] : changes.pages()) {
            put32(bytes, page);
            bytes.insert(bytes.end(), images.original.begin(), images.original.end());
            put32(bytes, recordChecksum(salt_, page, images.original));
        }
        state_ = State::Journaling;
        try {
            auto journal = fs_.create(journalPath_);
            journal->write(0, bytes);
            journal->sync();
            journal.reset();
            fs_.syncDirectory(journalPath_);  // invariant 1
        } catch (...) {
            state_ = State::Idle;
            try {
                fs_.remove(journalPath_);
            } catch (...) {
                // A leftover journal is harmless: it was never complete, or
                // it is complete and holds the pages as they still are.
            }
            throw;
        }
    }

    try {
        state_ = State::Writing;
        for (const auto& [page, images] : changes.pages())
            file_.write(std::uint64_t(page) * format::kPageSize, images.modified);
        state_ = State::Syncing;
        file_.sync();
        state_ = State::Finishing;
        fs_.remove(journalPath_);  // invariant 4: the write is now permanent
        state_ = State::Idle;
    } catch (...) {
        rollBackInPlace(changes);
        throw;
    }
}

void Journal::rollBackInPlace(const PageChanges& changes) {
    state_ = State::Failed;  // invariant 6, whatever happens below
    try {
        for (const auto& [page, images] : changes.pages())
            file_.write(std::uint64_t(page) * format::kPageSize, images.original);
        file_.sync();
        fs_.remove(journalPath_);
    } catch (...) {
        // The journal file is still there (or the file already matches it);
        // the next open rolls back from it.
    }
}

}  // namespace jet::detail
