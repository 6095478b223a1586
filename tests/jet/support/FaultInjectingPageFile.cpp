#include "FaultInjectingPageFile.h"

#include <algorithm>

#include "jet/Error.h"

namespace jet::test {

void FaultPlan::arm(int target, Mode mode, bool tear) {
    count_ = 0;
    target_ = target;
    mode_ = mode;
    tear_ = tear;
    crashed_ = false;
}

bool FaultPlan::point(bool isWrite) {
    if (crashed_) throw SimulatedCrash{};
    int n = count_++;
    if (n != target_) return false;
    if (mode_ == Mode::FailIo) throw Error(ErrorCategory::Io, "Injected I/O error at point " + std::to_string(n));
    if (mode_ == Mode::Crash) {
        crashed_ = true;
        if (tear_ && isWrite) return true;
        throw SimulatedCrash{};
    }
    return false;
}

void FaultInjectingPageFile::check() {
    if (plan_.crashed()) throw SimulatedCrash{};
}

std::uint64_t FaultInjectingPageFile::size() {
    check();
    return current_.size();
}

void FaultInjectingPageFile::read(std::uint64_t offset, std::span<std::uint8_t> out) {
    check();
    if (offset > current_.size() || out.size() > current_.size() - offset)
        throw Error(ErrorCategory::Corruption, "read beyond the end of a test file");
    std::copy_n(current_.begin() + static_cast<std::ptrdiff_t>(offset), out.size(), out.begin());
}

void FaultInjectingPageFile::write(std::uint64_t offset, std::span<const std::uint8_t> data) {
    bool tear = plan_.point(true);
    std::size_t n = tear ? data.size() / 2 : data.size();
    if (offset + n > current_.size()) current_.resize(offset + n);
    std::copy_n(data.begin(), n, current_.begin() + static_cast<std::ptrdiff_t>(offset));
    pending_.push_back({offset, std::vector<std::uint8_t>(data.begin(), data.begin() + n)});
    if (tear) throw SimulatedCrash{};
}

void FaultInjectingPageFile::sync() {
    plan_.point();
    durable_ = current_;
    pending_.clear();
}

std::vector<std::uint8_t> FaultInjectingPageFile::crashImage(std::mt19937& rng) const {
    std::vector<std::uint8_t> image = durable_;
    for (const Pending& p : pending_) {
        int fate = static_cast<int>(rng() % 3);  // 0 dropped, 1 kept, 2 torn
        if (fate == 0) continue;
        std::size_t n = fate == 1 ? p.data.size() : p.data.size() / 2;
        if (p.offset + n > image.size()) image.resize(p.offset + n);
        std::copy_n(p.data.begin(), n, image.begin() + static_cast<std::ptrdiff_t>(p.offset));
    }
    return image;
}

namespace {

// Hands out a file that the file system keeps owning.
class SharedFile : public jet::detail::PageFile {
public:
    explicit SharedFile(std::shared_ptr<FaultInjectingPageFile> f) : f_(std::move(f)) {}
    std::uint64_t size() override { return f_->size(); }
    void read(std::uint64_t o, std::span<std::uint8_t> out) override { f_->read(o, out); }
    void write(std::uint64_t o, std::span<const std::uint8_t> d) override { f_->write(o, d); }
    void sync() override { f_->sync(); }

private:
    std::shared_ptr<FaultInjectingPageFile> f_;
};

}  // namespace

std::unique_ptr<jet::detail::PageFile> MemoryJournalFileSystem::create(const std::string& path) {
    if (plan_.crashed()) throw SimulatedCrash{};
    auto f = std::make_shared<FaultInjectingPageFile>(std::vector<std::uint8_t>{}, plan_);
    files_[path] = f;
    return std::make_unique<SharedFile>(f);
}

std::unique_ptr<jet::detail::PageFile> MemoryJournalFileSystem::open(const std::string& path) {
    if (plan_.crashed()) throw SimulatedCrash{};
    auto it = files_.find(path);
    if (it == files_.end()) return nullptr;
    return std::make_unique<SharedFile>(it->second);
}

void MemoryJournalFileSystem::remove(const std::string& path) {
    plan_.point();
    files_.erase(path);
}

void MemoryJournalFileSystem::syncDirectory(const std::string&) { plan_.point(); }

std::map<std::string, std::vector<std::uint8_t>> MemoryJournalFileSystem::crashImage(
    std::mt19937& rng) const {
    std::map<std::string, std::vector<std::uint8_t>> out;
    for (const auto& [path, f] : files_) out[path] = f->crashImage(rng);
    return out;
}

void MemoryJournalFileSystem::restore(const std::map<std::string, std::vector<std::uint8_t>>& files) {
    files_.clear();
    for (const auto& [path, bytes] : files)
        files_[path] = std::make_shared<FaultInjectingPageFile>(bytes, plan_);
}

}  // namespace jet::test

namespace jet::test {

std::unique_ptr<jet::detail::PageFile> share(std::shared_ptr<FaultInjectingPageFile> file) {
    return std::make_unique<SharedFile>(std::move(file));
}

}  // namespace jet::test
