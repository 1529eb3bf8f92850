#pragma once

#include <string>

namespace kalvian {

// What a failure of the operating system means, whatever code the system gave it.
enum class ErrorKind {
    NotFound,   // the file, or a folder on its way
    NotAFolder, // a file where the path needs a folder
    NameTooLong,
    InvalidName, // no name of a file at all
    LinkLoop,    // symbolic links that lead round in a circle
    TooManyOpenFiles,
    AccessDenied,
    ReadOnly, // the file system takes no writes
    IsAFolder,
    DiskFull, // the disk, a quota or the largest file allowed
    InUse,    // held open by another program that shares it with no one
    Other,
};

// The kind of a code of the system (errno on POSIX).
ErrorKind errorKind(int systemError);

// The system's own words for its code.
std::string systemErrorText(int systemError);

} // namespace kalvian
