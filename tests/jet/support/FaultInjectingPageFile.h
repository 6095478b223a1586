// Test doubles for the file layer: a memory file that fails or "crashes" at
// a chosen write or flush, and a journal file system made of such files.
//
// Every write, flush and journal removal is a numbered point of a shared
// FaultPlan. At the target point the plan either fails the operation with
// Error(Io) (the program keeps running) or crashes: the operation throws
// SimulatedCrash, which is not a std::exception, and every later operation
// on any file of the plan throws it too, as nothing runs after a power cut.
// What reached the disk is then decided by crashImage(): flushed bytes are
// kept, each unflushed write is kept, dropped or torn in half at random.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "jet/detail/Journal.h"
#include "jet/detail/PageFile.h"

namespace jet::test {

struct SimulatedCrash {};

class FaultPlan {
public:
    enum class Mode { None, FailIo, Crash };

    // Arms the plan: point `target` (0-based) fails or crashes; with `tear`,
    // a write at the crash point lands half before the crash.
    void arm(int target, Mode mode, bool tear = false);
    // Counts one point; throws when it is the target or a crash happened.
    // Returns true when the caller should tear its write and then crash.
    bool point(bool isWrite = false);
    int points() const { return count_; }
    bool crashed() const { return crashed_; }

private:
    int count_ = 0;
    int target_ = -1;
    Mode mode_ = Mode::None;
    bool tear_ = false;
    bool crashed_ = false;
};

class FaultInjectingPageFile : public jet::detail::PageFile {
public:
    FaultInjectingPageFile(std::vector<std::uint8_t> bytes, FaultPlan& plan)
        : durable_(bytes), current_(std::move(bytes)), plan_(plan) {}

    std::uint64_t size() override;
    void read(std::uint64_t offset, std::span<std::uint8_t> out) override;
    void write(std::uint64_t offset, std::span<const std::uint8_t> data) override;
    void sync() override;

    // The bytes as a reader sees them now.
    const std::vector<std::uint8_t>& current() const { return current_; }
    // The bytes on disk after a power cut now: flushed bytes, and each
    // unflushed write kept, dropped or torn as `rng` decides.
    std::vector<std::uint8_t> crashImage(std::mt19937& rng) const;

private:
    struct Pending {
        std::uint64_t offset;
        std::vector<std::uint8_t> data;
    };
    void check();

    std::vector<std::uint8_t> durable_;
    std::vector<std::uint8_t> current_;
    std::vector<Pending> pending_;
    FaultPlan& plan_;
};

// Journals kept in memory, made of FaultInjectingPageFile.
class MemoryJournalFileSystem : public jet::detail::JournalFileSystem {
public:
    explicit MemoryJournalFileSystem(FaultPlan& plan) : plan_(plan) {}

    std::unique_ptr<jet::detail::PageFile> create(const std::string& path) override;
    std::unique_ptr<jet::detail::PageFile> open(const std::string& path) override;
    bool exists(const std::string& path) override { return files_.count(path) != 0; }
    void remove(const std::string& path) override;
    void syncDirectory(const std::string&) override;

    // The journals after a power cut now, as plain bytes.
    std::map<std::string, std::vector<std::uint8_t>> crashImage(std::mt19937& rng) const;
    // Puts files in place, as found after a restart.
    void restore(const std::map<std::string, std::vector<std::uint8_t>>& files);

private:
    FaultPlan& plan_;
    std::map<std::string, std::shared_ptr<FaultInjectingPageFile>> files_;
};

}  // namespace jet::test

namespace jet::test {

// A PageFile that forwards to `file`, for owners (DatabaseImpl) that want
// their own unique_ptr while the test keeps looking at the file.
std::unique_ptr<jet::detail::PageFile> share(std::shared_ptr<FaultInjectingPageFile> file);

}  // namespace jet::test
