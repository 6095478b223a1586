// The cost of one delete on the 100,000-article file: with the journal's and
// the file's flushes (on tmpfs they cost little but the calls are made), and
// with the flushes taken out, which is the engine's own work.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/FilePageFile.h"
#include "jet/detail/Journal.h"
#include "jet/detail/RowDeleter.h"

using namespace jet;
using namespace jet::detail;

namespace {

std::string unpackBig() {
    std::string dir = "/dev/shm/dorvak-bench-delete-" + std::to_string(::getpid());
    std::filesystem::create_directories(dir);
    std::string path = dir + "/Dorvak.mdb";
    std::string cmd = "gunzip -c '" + std::string(DORVAK_SOURCE_DIR) + "/tests/data/big/Dorvak-100k.mdb.gz' > '" +
                      path + "'";
    if (std::system(cmd.c_str()) != 0) return "";
    return path;
}

class NoFlushFile : public PageFile {
public:
    explicit NoFlushFile(std::unique_ptr<PageFile> f) : f_(std::move(f)) {}
    std::uint64_t size() override { return f_->size(); }
    void read(std::uint64_t o, std::span<std::uint8_t> out) override { f_->read(o, out); }
    void write(std::uint64_t o, std::span<const std::uint8_t> d) override { f_->write(o, d); }
    void sync() override {}
    void lockShared() override { f_->lockShared(); }
    void lockExclusive() override { f_->lockExclusive(); }
    void unlock() override { f_->unlock(); }

private:
    std::unique_ptr<PageFile> f_;
};

class NoFlushFileSystem : public JournalFileSystem {
public:
    std::unique_ptr<PageFile> create(const std::string& p) override {
        return std::make_unique<NoFlushFile>(real().create(p));
    }
    std::unique_ptr<PageFile> open(const std::string& p) override { return real().open(p); }
    bool exists(const std::string& p) override { return real().exists(p); }
    void remove(const std::string& p) override { std::filesystem::remove(p); }
    void syncDirectory(const std::string&) override {}
};

void deleteRows(benchmark::State& state, bool flushes) {
    std::string path = unpackBig();
    if (path.empty()) {
        state.SkipWithError("cannot unpack the 100k fixture");
        return;
    }
    std::unique_ptr<PageFile> file = std::make_unique<FilePageFile>(path);
    if (!flushes) file = std::make_unique<NoFlushFile>(std::move(file));
    DatabaseImpl db(path, std::move(file));
    NoFlushFileSystem noFlush;
    JournalFileSystem& fs = flushes ? JournalFileSystem::real() : noFlush;
    ResultSet rs = db.readTable("Dorvak");
    std::size_t step = 7919;  // spread the deletes over the file
    std::size_t i = 0;
    for (auto _ : state) {
        if (rs.rowCount() == 0) break;
        i = (i + step) % rs.rowCount();
        deleteRowInFile(db, rs, i, fs);
    }
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

void BM_DeleteWithFlushes(benchmark::State& state) { deleteRows(state, true); }
void BM_DeleteWithoutFlushes(benchmark::State& state) { deleteRows(state, false); }

}  // namespace

BENCHMARK(BM_DeleteWithFlushes)->Unit(benchmark::kMillisecond)->Iterations(300)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK(BM_DeleteWithoutFlushes)->Unit(benchmark::kMillisecond)->Iterations(300)->Repetitions(3)->ReportAggregatesOnly();
BENCHMARK_MAIN();
