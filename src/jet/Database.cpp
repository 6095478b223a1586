#include "jet/Database.h"

#include <filesystem>

#include "jet/Error.h"
#include "jet/detail/DatabaseImpl.h"
#include "jet/detail/FilePageFile.h"

namespace jet {

namespace {

std::string trim(std::string_view s) {
    std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string_view::npos) return {};
    std::size_t b = s.find_last_not_of(" \t\r\n");
    return std::string(s.substr(a, b - a + 1));
}

}  // namespace

std::unique_ptr<Database> Database::openConnectionString(std::string_view cs) {
    std::string source;
    bool found = false;
    while (!cs.empty()) {
        std::size_t semi = cs.find(';');
        std::string_view part = cs.substr(0, semi);
        cs = semi == std::string_view::npos ? std::string_view() : cs.substr(semi + 1);
        std::size_t eq = part.find('=');
        if (eq == std::string_view::npos) continue;
        std::string k = trim(part.substr(0, eq));
        for (char& c : k)
            if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (k == "data source") {
            source = trim(part.substr(eq + 1));
            if (source.size() >= 2 && (source.front() == '"' || source.front() == '\'') && source.back() == source.front())
                source = source.substr(1, source.size() - 2);
            found = true;
        }
    }
    if (!found || source.empty())
        throw Error(ErrorCategory::InvalidArgument, "The connection string names no Data Source.");
    return open(source);
}

std::unique_ptr<Database> Database::open(const std::string& path) {
    std::error_code ec;
    std::string full = std::filesystem::absolute(path, ec).lexically_normal().string();
    if (ec) full = path;
    auto file = std::make_unique<detail::FilePageFile>(full);
    return std::make_unique<detail::DatabaseImpl>(full, std::move(file));
}

const std::string& Database::path() const { return path_; }

}  // namespace jet
