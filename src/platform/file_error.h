#pragma once

#include "common/error.h"

#include <string>

namespace kalvian {

// What the system's error means to the user, in the texts the declarants' tools have always shown.
enum class FileOperation { Create, Read, Write };

// "File not found", "Invalid filename", "Too many open files", "File access denied", "Disk full", or
// "I/O error N" with the system's code.
std::string ioErrorMessage(int systemError, FileOperation operation);

// The steps of writing a file, each of which gives a failure its own reason.
enum class FileStep {
    OpenFolder,  // reaching the destination folder, also through a symbolic link
    CheckTarget, // looking at what already bears the name
    Create,      // the new file
    Write,
    Sync,       // the file to the disk
    Publish,    // the file taking the target's name
    SyncFolder, // the name to the disk
};

// Why, in Portuguese, for the command line: "pasta de destino não encontrada", "disco cheio", ...
std::string ioErrorReason(int systemError, FileStep step);

// An output file that could not be written. Its text is what the window shows (ioErrorMessage); the
// command line adds where and why.
class FileError : public Error {
public:
    FileError(int systemError, FileStep step, std::string path);

    // "<path>: <reason> (<the system's text>)"
    std::string whereAndWhy() const;

private:
    int m_systemError;
    FileStep m_step;
    std::string m_path;
};

} // namespace kalvian
