#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kalvian {

// What the database engine leaves in a folder whose tables it has open: the folder's users (PDOXUSRS.LCK),
// for some versions the folder itself (PARADOX.LCK), and one per table. A program that ended without closing
// leaves the same files behind, and their contents are the engine's own: only their presence is looked at,
// and they are never read, created, changed or removed.
struct LockFiles {
    std::vector<std::string> names; // as the folder spells them, in the order of kLockFileNames
    bool openNow = false;           // a process of this computer has one of them open right now
};

inline constexpr const char* kLockFileNames[] = {"PDOXUSRS.LCK", "PARADOX.LCK", "DSEMI.LCK", "DSREC.LCK",
                                                 "DSCLI.LCK"};

// The lock files in the folder, their letter case ignored.
LockFiles findLockFiles(std::string_view folder);

} // namespace kalvian
