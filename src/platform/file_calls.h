#pragma once

// The system calls an output file is written with, each system's own; tests override some of them.
#ifdef _WIN32
#include "platform/windows/file_calls.h"
#else
#include "platform/posix/file_calls.h"
#endif
