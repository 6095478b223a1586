#include "ui/Resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE must be used outside any namespace.
static void registerDorvakResources() { Q_INIT_RESOURCE(dorvak); }

namespace dorvak {

void initResources() {
    static const bool registered = (registerDorvakResources(), true);
    (void)registered;
}

}  // namespace dorvak
