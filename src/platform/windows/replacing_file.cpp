#include "platform/replacing_file.h"

#include "platform/windows/error_codes.h"
#include "platform/windows/wide_text.h"

#include <windows.h>
#include <random>
#include <utility>

namespace kalvian {

namespace {

constexpr int kNameAttempts = 100;
// The longest file name NTFS, FAT32 and exFAT take, in UTF-16 units.
constexpr std::size_t kLongestName = 255;

// Marked as ours, should a power cut leave one behind.
std::wstring temporaryName() {
    static std::mt19937 random{std::random_device{}()};
    return L".kalvian-" + std::to_wstring(random() % 1000000000) + L".tmp";
}

// The folder as a name of its own, without the final separator that a file in its place would not take
// (some systems then say the path is missing); a drive's root keeps it.
std::wstring folderName(const std::wstring& folder) {
    const bool root = folder.size() >= 2 && folder[folder.size() - 2] == L':';
    return root || folder.empty() ? folder : folder.substr(0, folder.size() - 1);
}

constexpr int kPublishAttempts = 20;

bool nameTaken(int error) {
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

} // namespace

ReplacingFile::ReplacingFile(std::string target, FileCalls& calls)
    : m_calls(calls), m_target(std::move(target)), m_path(systemPath(m_target)) {
    checkTarget();
    createTemporary();
}

ReplacingFile::~ReplacingFile() {
    if (m_file != FileCalls::kNoHandle) {
        m_calls.close(m_file);
    }
    if (!m_temporary.empty()) {
        m_calls.remove(m_temporary);
    }
}

void ReplacingFile::checkTarget() const {
    const std::wstring folder = folderOf(m_path);
    unsigned long folderAttributes = 0;
    if (const int error = m_calls.attributes(folderName(folder), folderAttributes)) {
        fail(FileStep::OpenFolder, error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    }
    if ((folderAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        fail(FileStep::OpenFolder, ERROR_DIRECTORY);
    }
    // Said as such, not as the missing file some systems take a name too long for.
    if (m_path.size() - folder.size() > kLongestName) {
        fail(FileStep::CheckTarget, ERROR_FILENAME_EXCED_RANGE);
    }
    unsigned long attributes = 0;
    if (const int error = m_calls.attributes(m_path, attributes)) {
        if (error != ERROR_FILE_NOT_FOUND) {
            fail(FileStep::CheckTarget, error);
        }
        return;
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        fail(FileStep::CheckTarget, kErrorFolderNotFile);
    }
    // Refused as writing the file in place would be: a read-only file stays as it is.
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        fail(FileStep::CheckTarget, ERROR_ACCESS_DENIED);
    }
}

void ReplacingFile::createTemporary() {
    const std::wstring folder = folderOf(m_path);
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring path = folder + temporaryName();
        FileCalls::Handle file = nullptr;
        const int error = m_calls.createNew(path, file);
        if (error == 0) {
            if (!m_interrupt.watch(path)) {
                m_calls.close(file);
                m_calls.remove(path);
                fail(FileStep::Create, ERROR_TOO_MANY_OPEN_FILES);
            }
            m_file = file;
            m_temporary = path;
            return;
        }
        if (!nameTaken(error)) {
            fail(FileStep::Create, error);
        }
    }
    fail(FileStep::Create, ERROR_FILE_EXISTS);
}

// Named only once closed, and on the disk by then: closing has nothing left to report.
void ReplacingFile::closeForNaming() {
    if (m_file != FileCalls::kNoHandle) {
        m_calls.close(std::exchange(m_file, FileCalls::kNoHandle));
    }
}

void ReplacingFile::published() {
    m_temporary.clear();
    m_interrupt.forget();
}

// Ctrl+C waits while the file takes its name, here and in publishReplacing: ReplaceFileW stopped halfway can
// leave a file of its own beside the target (Wine's does).
bool ReplacingFile::publishNew() {
    const HeldInterrupts held;
    closeForNaming();
    const int error = m_calls.moveNew(m_temporary, m_path);
    if (error != 0 && !nameTaken(error)) {
        fail(FileStep::Publish, error);
    }
    if (error == 0) {
        published();
    }
    return error == 0;
}

// Another run replacing the same name may set the file aside for a moment or give the name anew while this
// one looks: the name is then taken or replaced again, a bounded number of times.
void ReplacingFile::publishReplacing() {
    const HeldInterrupts held;
    closeForNaming();
    for (int attempt = 1;; ++attempt) {
        const bool lastAttempt = attempt == kPublishAttempts;
        checkTarget();
        // The file may have gone meanwhile: then the name is free to take.
        unsigned long attributes = 0;
        if (m_calls.attributes(m_path, attributes) != 0) {
            const int error = m_calls.moveNew(m_temporary, m_path);
            if (error == 0) {
                published();
                return;
            }
            if (!nameTaken(error) || lastAttempt) {
                fail(FileStep::Publish, error);
            }
            continue;
        }
        // A file another program holds open without sharing it cannot be set aside. Asked first, since some
        // ReplaceFileW (Wine's) find that out only after making a file of their own beside it, which they
        // leave.
        int error = m_calls.mayRemove(m_path);
        if (error == 0) {
            error = m_calls.replace(m_path, m_temporary);
        }
        if (error != 0) {
            if (error != ERROR_FILE_NOT_FOUND || lastAttempt) {
                fail(FileStep::Publish,
                     error == ERROR_UNABLE_TO_REMOVE_REPLACED ? ERROR_SHARING_VIOLATION : error);
            }
            continue;
        }
        // Some ReplaceFileW (Wine's) give the file the temporary file's attributes instead of the old file's.
        unsigned long now = 0;
        if (m_calls.attributes(m_path, now) != 0 || now != attributes) {
            m_calls.setAttributes(m_path, attributes);
        }
        published();
        return;
    }
}

} // namespace kalvian
