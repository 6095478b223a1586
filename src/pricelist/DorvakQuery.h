// The one price-list query of the window, built with its statement,
// connection string, parameter and fields.
#pragma once

class QObject;

namespace dorvak {

class Query;

// Returns a closed query named "qDorvak" (owned by `parent`) with the
// statement "select * from Dorvak" / "where SIFRA like :sifra", the
// connection string naming "Dorvak.mdb" in the current directory, the
// parameter "sifra" and the fields qDorvakSIFRA, qDorvakNAZIV and
// qDorvakCIJENA (findChild finds them by those names).
Query* CreateDorvakQuery(QObject* parent);

}  // namespace dorvak
