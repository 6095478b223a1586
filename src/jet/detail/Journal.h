// The rollback journal that makes a write to the database all-or-nothing
// across a crash: the original images of the pages about to change are made
// durable beside the database before any page of the database is overwritten.
// The design, its invariants and its states are described in Journal.cpp.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "jet/detail/PageFile.h"

namespace jet::detail {

// Where journals live: the directory of the database. A seam so that tests
// can keep journals in memory and crash in the middle of writing one.
class JournalFileSystem {
public:
    virtual ~JournalFileSystem() = default;
    // A new, empty file at `path` (an old one is replaced). Error(ReadOnly)
    // when the directory refuses new files, Error(Io) otherwise.
    virtual std::unique_ptr<PageFile> create(const std::string& path) = 0;
    // The file at `path`, or null when there is none.
    virtual std::unique_ptr<PageFile> open(const std::string& path) = 0;
    virtual bool exists(const std::string& path) = 0;
    // Removes `path` and makes the removal durable. Error(Io) on failure.
    virtual void remove(const std::string& path) = 0;
    // Makes the creation of a file in the directory of `path` durable.
    virtual void syncDirectory(const std::string& path) = 0;

    // The operating system's file system.
    static JournalFileSystem& real();
};

// "<database>-journal".
std::string journalPath(const std::string& dbPath);

// If a journal for `dbPath` exists (a write was interrupted), copies its
// original pages back into `file`, flushes, and removes the journal; a torn
// or foreign journal (the database was never touched) is only removed. Takes
// the file's exclusive lock for the check, so a journal of a write still
// running in another process is waited for, not rolled back. Must run before
// anything of the file is read. Error(ReadOnly) when a rollback is needed but
// the file cannot be written, Error(Io) when the rollback fails.
void recoverJournal(const std::string& dbPath, PageFile& file,
                    JournalFileSystem& fs = JournalFileSystem::real());
// The same, for a caller that already holds the exclusive lock.
void recoverJournalLocked(const std::string& dbPath, PageFile& file,
                          JournalFileSystem& fs = JournalFileSystem::real());

// The pages of one logical write with their original and new images. It is
// committed as a whole or not at all.
class PageChanges {
public:
    // Records that `page` (whose current image is `original`) becomes
    // `modified`. Staging a page again keeps the first original.
    void stage(std::uint32_t page, const std::vector<std::uint8_t>& original,
               std::vector<std::uint8_t> modified);
    // The newest staged image of `page`, or null.
    const std::vector<std::uint8_t>* modified(std::uint32_t page) const;
    bool empty() const { return pages_.empty(); }

    struct Images {
        std::vector<std::uint8_t> original;
        std::vector<std::uint8_t> modified;
    };
    const std::map<std::uint32_t, Images>& pages() const { return pages_; }

private:
    std::map<std::uint32_t, Images> pages_;
};

// The writer of one open database file. Not thread-safe; one per open file.
class Journal {
public:
    enum class State { Idle, Journaling, Writing, Syncing, Finishing, Failed };

    Journal(std::string dbPath, PageFile& file, JournalFileSystem& fs = JournalFileSystem::real());

    // Writes `changes` to the file crash-safely: journal, pages, flush,
    // journal removed. The caller holds the file's exclusive lock. On an
    // error before any database page was written, the file is untouched and
    // the journal is still usable; on a later error the originals are put
    // back at once if possible and the journal becomes Failed, refusing every
    // further commit until the database is reopened (a rollback also runs at
    // the next open, from the journal file, if the immediate one failed).
    void commit(const PageChanges& changes);

    State state() const { return state_; }
    bool failed() const { return state_ == State::Failed; }

private:
    void rollBackInPlace(const PageChanges& changes);

    std::string dbPath_;
    std::string journalPath_;
    PageFile& file_;
    JournalFileSystem& fs_;
    State state_ = State::Idle;
    std::uint32_t salt_ = 0;
};

}  // namespace jet::detail
