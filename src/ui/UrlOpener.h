// Hands an address to the desktop's opener. The request is fire-and-forget:
// nothing is awaited and nothing is reported when nothing opens.
#pragma once

#include <QString>
#include <functional>

namespace dorvak {

class UrlOpener {
public:
    using Opener = std::function<void(const QString& target)>;

    // Asks the desktop to open `target` exactly as given; an empty text asks nothing.
    static void open(const QString& target);

    // Replaces the launch for tests, so they see the request and start no
    // browser. An empty function restores the desktop's opener.
    static void setOpenerForTesting(Opener opener);

private:
    static Opener& opener();
};

}  // namespace dorvak
