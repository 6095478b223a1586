// Errors of the Jet engine: a category and a message that names the place
// (file, page, table, index) and what was expected against what was found.
#pragma once

#include <stdexcept>
#include <string>

namespace jet {

enum class ErrorCategory {
    Io,               // the operating system refused a read, write, sync or lock
    Corruption,       // the file contradicts the format
    NotSupported,     // a valid file, but a format or feature this engine does not handle
    InvalidArgument,  // the caller asked for something malformed (bad statement, bad name)
    NotFound,         // file, table or column does not exist
    Conflict,         // the row changed or vanished since it was read, or relations forbid it
    Locked,           // another process holds the file
    ReadOnly,         // the file or its directory cannot be written
};

// Thrown by every public engine call. what() is the user-facing text.
class Error : public std::runtime_error {
public:
    Error(ErrorCategory category, const std::string& message)
        : std::runtime_error(message), category_(category) {}

    ErrorCategory category() const noexcept { return category_; }

private:
    ErrorCategory category_;
};

}  // namespace jet
