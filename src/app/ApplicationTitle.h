// The application title, derived from the executable's file name.
#pragma once

#include <QString>

namespace dorvak {

// What follows the last "/" of `exePath`, cut at its first ".", with every
// character after the first lower-cased ("/opt/PARTS.LIST" -> "Parts",
// "My.Price.List" -> "My"). The first character is left as it is.
QString ApplicationTitle(const QString& exePath);

}  // namespace dorvak
