#pragma once

// The safe writer of an output file, each system's own, with one interface: ReplacingFile(target, calls),
// write(bytes) and commit(Placement).
#ifdef _WIN32
#include "platform/windows/replacing_file.h"
#else
#include "platform/posix/replacing_file.h"
#endif
