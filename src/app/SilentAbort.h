// A failure that abandons the current event handler without telling the user.
#pragma once

#include <exception>

namespace dorvak {

// Thrown to leave a handler quietly: Application::notify drops it without any
// message, where every other exception goes to the error box.
class SilentAbort : public std::exception {
public:
    const char* what() const noexcept override { return ""; }
};

}  // namespace dorvak
