#pragma once

#include "platform/posix/file_calls.h"
#include "platform/posix/file_descriptor.h"

#include <string>

namespace kalvian {

// Where an output path leads once every symbolic link on the way is followed, as writing through the link
// would: the folder, open, and the name in it.
struct ResolvedTarget {
    FileDescriptor folder;
    std::string folderPath; // the way the folder was reached, ending with a separator
    std::string name;
    bool exists = false;
};

// Raises FileError, naming `path`, when the folder cannot be opened, a link cannot be read or the links
// go round in a circle, or the path names a folder or something other than a plain file.
ResolvedTarget resolveTarget(const std::string& path, FileCalls& calls);

} // namespace kalvian
