#pragma once

#include <string>

namespace kalvian {

// What the system's error means to the user, in the texts the declarants' tools have always shown.
enum class FileOperation { Create, Read, Write };

// "File not found", "Invalid filename", "Too many open files", "File access denied", "Disk full", or
// "I/O error N" with the system's code.
std::string ioErrorMessage(int systemError, FileOperation operation);

} // namespace kalvian
