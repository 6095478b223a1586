// Access's own lock file ("Dorvak.ldb" beside "Dorvak.mdb"): while Access or
// another Jet program has the database open, it holds byte-range locks in
// it. Access leaves the file behind after a crash, so only a lock that some
// process still holds counts, never the mere file.
#pragma once

#include <string>

namespace jet::detail {

class AccessLockFile {
public:
    // "<database without .mdb/.accdb>.ldb" (or "<database>.ldb" for other names).
    static std::string pathFor(const std::string& dbPath);
    // True when the lock file exists and another process holds a lock on
    // any byte of it. A missing, unreadable or unlocked file is not in use.
    static bool inUse(const std::string& dbPath);
    // Throws Error(Locked) with a message naming the lock file when inUse().
    static void requireNotInUse(const std::string& dbPath);
};

}  // namespace jet::detail
