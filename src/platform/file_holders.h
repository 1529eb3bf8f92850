#pragma once

#include <string>
#include <vector>

namespace kalvian {

// True when the system tells that a process other than this one has one of the files open right now. It is
// asked without opening the files for reading or writing, and without a lock, so no other program's open or
// lock can ever fail because of the question. False when none is open, and also wherever the system cannot
// tell (processes of other users or other computers, a system without such a question).
bool openInAnotherProcess(const std::vector<std::string>& paths);

} // namespace kalvian
