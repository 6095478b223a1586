// Access to the pictures compiled into the program (icon, button images,
// placeholder logo) under ":/dorvak/".
#pragma once

namespace dorvak {

// Registers the compiled-in resources. They live in a static library, whose
// automatic registration the linker may drop; calling this keeps them. Safe to
// call any number of times.
void initResources();

}  // namespace dorvak
