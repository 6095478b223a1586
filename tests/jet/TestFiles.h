// Temporary copies of fixtures, so no test touches tests/data itself.
#pragma once

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <unistd.h>

namespace jettest {

inline std::filesystem::path fixture(const std::string& name) {
    return std::filesystem::path(DORVAK_TEST_DATA) / name;
}

inline std::vector<std::uint8_t> fixtureBytes(const std::string& name) {
    std::ifstream in(fixture(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class TempDir {
public:
    TempDir() {
        static int counter = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("dorvak-jet-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path& path() const { return path_; }
    // Copies fixture `name` in as `as` and returns its path.
    std::string copy(const std::string& name, const std::string& as = "Dorvak.mdb") const {
        auto to = path_ / as;
        std::filesystem::copy_file(fixture(name), to, std::filesystem::copy_options::overwrite_existing);
        std::filesystem::permissions(to, std::filesystem::perms::owner_write, std::filesystem::perm_options::add);
        return to.string();
    }
    std::string write(const std::string& as, const std::vector<std::uint8_t>& bytes) const {
        auto to = path_ / as;
        std::ofstream out(to, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
        return to.string();
    }

private:
    std::filesystem::path path_;
};

}  // namespace jettest
