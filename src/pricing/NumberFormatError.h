// The failure of reading number text: the text is not a number in the
// current format, or is out of range.
#pragma once

#include <stdexcept>
#include <string>

namespace dorvak {

class NumberFormatError : public std::runtime_error {
public:
    // text: the rejected text exactly as given.
    explicit NumberFormatError(const std::string& text)
        : std::runtime_error("'" + text + "' is not a valid floating point value") {}
};

}  // namespace dorvak
