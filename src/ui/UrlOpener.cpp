#include "ui/UrlOpener.h"

#include <QProcess>
#include <QStringList>

namespace dorvak {

UrlOpener::Opener& UrlOpener::opener() {
    static Opener instance;
    return instance;
}

void UrlOpener::open(const QString& target) {
    if (target.isEmpty()) return;
    if (opener()) {
        opener()(target);
        return;
    }
    // One argument, no shell: the text reaches xdg-open unchanged whatever it holds.
    QProcess::startDetached(QStringLiteral("xdg-open"), QStringList{target});
}

void UrlOpener::setOpenerForTesting(Opener opener) { UrlOpener::opener() = std::move(opener); }

}  // namespace dorvak
