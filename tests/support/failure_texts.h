#pragma once

#include <string>

namespace kalvian::test {

// Failures the tests cause on real folders.
enum class PathFailure {
    FolderMissing, // the destination folder is not there
    FileInThePath, // a file where the path needs a folder
    NameIsAFolder, // a folder bears the file's name
    NameTooLong,   // a file name longer than file systems take
};

// What the command line says of a failure after its path: the reason in Portuguese and, in brackets, the
// system's own words. Both are each system's: its texts differ, and a name too long is told as the system
// finds it.
std::string reasonAndText(PathFailure failure);

} // namespace kalvian::test
