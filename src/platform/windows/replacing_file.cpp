#include "platform/windows/replacing_file.h"

#include "platform/windows/error_codes.h"
#include "platform/windows/wide_text.h"

#include <windows.h>
#include <random>

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

bool nameTaken(DWORD error) {
    return error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS;
}

} // namespace

ReplacingFile::ReplacingFile(std::string target, FileCalls& calls)
    : m_calls(calls), m_target(std::move(target)), m_path(systemPath(m_target)) {
    checkTarget();
    createTemporary();
}

ReplacingFile::~ReplacingFile() {
    if (m_file != nullptr) {
        m_calls.close(m_file);
    }
    if (!m_temporary.empty()) {
        m_calls.remove(m_temporary);
    }
}

void ReplacingFile::fail(FileStep step, unsigned long systemError) const {
    throw FileError(static_cast<int>(systemError), step, m_target);
}

void ReplacingFile::checkTarget() const {
    const std::wstring folder = folderOf(m_path);
    const DWORD folderAttributes = m_calls.attributes(folderName(folder));
    if (folderAttributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        fail(FileStep::OpenFolder, error == ERROR_FILE_NOT_FOUND ? ERROR_PATH_NOT_FOUND : error);
    }
    if ((folderAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        fail(FileStep::OpenFolder, ERROR_DIRECTORY);
    }
    // Said as such, not as the missing file some systems take a name too long for.
    if (m_path.size() - folder.size() > kLongestName) {
        fail(FileStep::CheckTarget, ERROR_FILENAME_EXCED_RANGE);
    }
    const DWORD attributes = m_calls.attributes(m_path);
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
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
        const FileCalls::Handle file = m_calls.createNew(path);
        if (file != nullptr) {
            if (!m_interrupt.watch(path)) {
                m_calls.close(file);
                m_calls.remove(path);
                fail(FileStep::Create, ERROR_TOO_MANY_OPEN_FILES);
            }
            m_file = file;
            m_temporary = path;
            return;
        }
        const DWORD error = ::GetLastError();
        if (!nameTaken(error)) {
            fail(FileStep::Create, error);
        }
    }
    fail(FileStep::Create, ERROR_FILE_EXISTS);
}

void ReplacingFile::write(std::string_view bytes) {
    m_output.write(bytes, [this](std::string_view all) { writeAll(all); });
}

void ReplacingFile::flush() {
    m_output.flush([this](std::string_view all) { writeAll(all); });
}

void ReplacingFile::writeAll(std::string_view bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        unsigned long written = 0;
        const auto size = static_cast<unsigned long>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!m_calls.write(m_file, bytes.data() + done, size, written)) {
            fail(FileStep::Write, ::GetLastError());
        }
        if (written == 0) {
            // A write that moves nothing without an error code is a full disk all the same.
            fail(FileStep::Write, ERROR_DISK_FULL);
        }
        done += written;
    }
}

bool ReplacingFile::publish(Placement placement) {
    const HeldInterrupts held;
    if (placement == Placement::New) {
        if (!m_calls.moveNew(m_temporary, m_path)) {
            const DWORD error = ::GetLastError();
            if (nameTaken(error)) {
                return false;
            }
            fail(FileStep::Publish, error);
        }
        return true;
    }
    // Another run replacing the same name may set the file aside for a moment or give the name anew while
    // this one looks: the name is then taken or replaced again, a bounded number of times.
    for (int attempt = 1;; ++attempt) {
        const bool lastAttempt = attempt == kPublishAttempts;
        checkTarget();
        // The file may have gone meanwhile: then the name is free to take.
        const DWORD attributes = m_calls.attributes(m_path);
        if (attributes == INVALID_FILE_ATTRIBUTES) {
            if (m_calls.moveNew(m_temporary, m_path)) {
                return true;
            }
            const DWORD error = ::GetLastError();
            if (!nameTaken(error) || lastAttempt) {
                fail(FileStep::Publish, error);
            }
            continue;
        }
        // A file another program holds open without sharing it cannot be set aside. Asked first, since some
        // ReplaceFileW (Wine's) find that out only after making a file of their own beside it, which they
        // leave.
        if (!m_calls.mayRemove(m_path) || !m_calls.replace(m_path, m_temporary)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_FILE_NOT_FOUND || lastAttempt) {
                fail(FileStep::Publish,
                     error == ERROR_UNABLE_TO_REMOVE_REPLACED ? ERROR_SHARING_VIOLATION : error);
            }
            continue;
        }
        // Some ReplaceFileW (Wine's) give the file the temporary file's attributes instead of the old file's.
        if (m_calls.attributes(m_path) != attributes) {
            m_calls.setAttributes(m_path, attributes);
        }
        return true;
    }
}

bool ReplacingFile::commit(Placement placement) {
    if (!m_synced) {
        flush();
        if (!m_calls.flush(m_file)) {
            fail(FileStep::Sync, ::GetLastError());
        }
        // The file is on the disk; closing it has nothing left to report.
        m_calls.close(m_file);
        m_file = nullptr;
        m_synced = true;
    }
    if (!publish(placement)) {
        return false;
    }
    m_temporary.clear();
    m_interrupt.forget();
    return true;
}

} // namespace kalvian
