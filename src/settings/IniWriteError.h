// The failure of a settings write: the file could not be replaced, so it
// keeps its previous content. what() names the file's full path.
#pragma once

#include <stdexcept>
#include <string>

namespace dorvak {

class IniWriteError : public std::runtime_error {
public:
    // path: the full path of the settings file that could not be written.
    explicit IniWriteError(const std::string& path)
        : std::runtime_error("Unable to write to " + path), path_(path) {}

    const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
};

}  // namespace dorvak
