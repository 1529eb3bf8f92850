#include "replacing_file.h"

#include "platform/posix/file_descriptor.h"

#include <cerrno>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian {

namespace {

constexpr int kNameAttempts = 100;
constexpr mode_t kPermissionBits = 07777;

// The answers of a file system that has no files without a name (old kernels read O_TMPFILE as
// O_DIRECTORY and answer EISDIR).
bool lacksUnnamedFiles(int systemError) {
    return systemError == EOPNOTSUPP || systemError == EISDIR;
}

// The answers of a kernel or a file system without RENAME_NOREPLACE (FUSE and SMB file systems answer
// EINVAL).
bool lacksRenameNoReplace(int systemError) {
    return systemError == EINVAL || systemError == ENOSYS || systemError == EOPNOTSUPP;
}

// The answers of a file system that gives no file a second name (FAT and exFAT through FUSE answer EPERM).
bool refusesLinks(int systemError) {
    return systemError == EPERM || systemError == EOPNOTSUPP || systemError == ENOSYS;
}

// The answers of a file system that keeps no permission bits of its own (FAT through FUSE).
bool keepsNoPermissionBits(int systemError) {
    return systemError == ENOSYS || systemError == EOPNOTSUPP;
}

// Hidden, and marked as ours, should a power cut leave one behind.
std::string temporaryName() {
    static std::mt19937 random{std::random_device{}()};
    return ".kalvian-" + std::to_string(random() % 1000000000) + ".tmp";
}

} // namespace

ReplacingFile::ReplacingFile(std::string target, FileCalls& calls)
    : m_calls(calls), m_target(std::move(target)), m_resolved(resolveTarget(m_target, calls)) {
    if (m_resolved.exists) {
        ensureReplaceable();
    }
    m_fd = m_calls.createUnnamed(m_resolved.folder.get());
    if (m_fd < 0) {
        if (!lacksUnnamedFiles(errno)) {
            fail(FileStep::Create, errno);
        }
        createNamed();
    }
}

ReplacingFile::~ReplacingFile() {
    if (m_fd >= 0) {
        m_calls.close(m_fd);
    }
    if (!m_temporary.empty()) {
        m_calls.remove(m_resolved.folder.get(), m_temporary);
    }
}

void ReplacingFile::fail(FileStep step, int systemError) const {
    throw FileError(systemError, step, m_target);
}

void ReplacingFile::createNamed() {
    const int folder = m_resolved.folder.get();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = temporaryName();
        const HeldSignals held;
        const int fd = m_calls.createNew(folder, name);
        if (fd >= 0) {
            if (!m_cleanup.watch(folder, name, fd)) {
                const int error = errno;
                m_calls.close(fd);
                m_calls.remove(folder, name);
                fail(FileStep::Create, error);
            }
            m_fd = fd;
            m_temporary = name;
            m_written = 0;
            m_writebackAsked = 0;
            return;
        }
        if (errno != EEXIST) {
            fail(FileStep::Create, errno);
        }
    }
    fail(FileStep::Create, EEXIST);
}

// A file without a name can only replace another once it has a name of its own. False when the file system
// links no file.
bool ReplacingFile::nameUnnamedTemporarily() {
    const int folder = m_resolved.folder.get();
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::string name = temporaryName();
        const HeldSignals held;
        if (m_calls.nameUnnamed(m_fd, folder, name) == 0) {
            m_temporary = name;
            if (!m_cleanup.watch(folder, name, m_fd)) {
                fail(FileStep::Publish, errno);
            }
            return true;
        }
        if (refusesLinks(errno)) {
            return false;
        }
        if (errno != EEXIST) {
            fail(FileStep::Publish, errno);
        }
    }
    fail(FileStep::Publish, EEXIST);
}

// A file system may make files without a name and yet link none (a FUSE file system can), which leaves such
// a file no way to a name: its bytes move to a hidden named file, which a rename can name.
void ReplacingFile::moveToNamedTemporary() {
    const FileDescriptor unnamed(std::exchange(m_fd, -1));
    createNamed();
    std::string chunk(BufferedOutput::kSize, '\0');
    for (off_t done = 0;;) {
        const ssize_t got = ::pread(unnamed.get(), chunk.data(), chunk.size(), done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            fail(FileStep::Write, errno);
        }
        if (got == 0) {
            break;
        }
        writeAll(std::string_view(chunk).substr(0, static_cast<std::size_t>(got)));
        done += got;
    }
    if (m_calls.sync(m_fd) != 0) {
        fail(FileStep::Sync, errno);
    }
}

// Refused as writing the file in place would be: a read-only file stays as it is.
void ReplacingFile::ensureReplaceable() const {
    if (::faccessat(m_resolved.folder.get(), m_resolved.name.c_str(), W_OK, AT_EACCESS) != 0 &&
        errno != ENOENT) {
        fail(FileStep::CheckTarget, errno);
    }
}

void ReplacingFile::takeOverAttributes() const {
    struct stat old {};
    if (::fstatat(m_resolved.folder.get(), m_resolved.name.c_str(), &old, AT_SYMLINK_NOFOLLOW) != 0) {
        return; // gone meanwhile: the new file keeps what it was created with
    }
    // Owner first, since a change of owner drops the set-user-ID bit. A process that may not give the file
    // away may still give it one of its own groups; failing both, the file stays its own.
    if (::fchown(m_fd, old.st_uid, old.st_gid) != 0) {
        ::fchown(m_fd, static_cast<uid_t>(-1), old.st_gid);
    }
    if (::fchmod(m_fd, old.st_mode & kPermissionBits) != 0 && !keepsNoPermissionBits(errno)) {
        fail(FileStep::Publish, errno);
    }
}

// The folder the run began in must still be where it was: a file that took its name in a folder moved
// away would not be where the user looks for it.
void ReplacingFile::ensureFolderInPlace() const {
    struct stat held {};
    struct stat atPath {};
    if (::fstat(m_resolved.folder.get(), &held) != 0 || ::stat(m_resolved.folderPath.c_str(), &atPath) != 0 ||
        held.st_dev != atPath.st_dev || held.st_ino != atPath.st_ino) {
        fail(FileStep::Publish, ENOENT);
    }
}

bool ReplacingFile::publish(Placement placement) {
    if (placement == Placement::New) {
        if (!publishNew()) {
            return false;
        }
    } else {
        publishReplacing();
    }
    m_temporary.clear();
    m_cleanup.forget();
    return true;
}

// Each way tried only where the one before it is missing: none of them ever replaces a file.
bool ReplacingFile::publishNew() {
    const int folder = m_resolved.folder.get();
    const std::string& name = m_resolved.name;
    if (m_temporary.empty()) {
        if (m_calls.nameUnnamed(m_fd, folder, name) == 0) {
            return true;
        }
        if (errno == EEXIST) {
            return false;
        }
        if (!refusesLinks(errno)) {
            fail(FileStep::Publish, errno);
        }
        moveToNamedTemporary();
    }
    if (m_calls.renameNoReplace(folder, m_temporary, name) == 0) {
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    if (!lacksRenameNoReplace(errno)) {
        fail(FileStep::Publish, errno);
    }
    if (m_calls.link(folder, m_temporary, name) == 0) {
        if (m_calls.remove(folder, m_temporary) != 0) {
            fail(FileStep::Publish, errno);
        }
        return true;
    }
    if (errno == EEXIST) {
        return false;
    }
    if (!refusesLinks(errno)) {
        fail(FileStep::Publish, errno);
    }
    return publishOverClaim();
}

// Creating a file only while its name is free works wherever files can be created (FAT and exFAT through
// FUSE, shares of every kind), and a rename over a file of our own replaces nothing of anyone else's. A claim
// that another program has replaced or removed meanwhile is no longer ours: the name counts as taken.
bool ReplacingFile::publishOverClaim() {
    const int folder = m_resolved.folder.get();
    const std::string& name = m_resolved.name;
    {
        const HeldSignals held;
        const int claim = m_calls.createNew(folder, name);
        if (claim < 0) {
            if (errno == EEXIST) {
                return false;
            }
            fail(FileStep::Publish, errno);
        }
        if (!m_claim.watch(folder, name, claim)) {
            const int error = errno;
            m_calls.close(claim);
            m_calls.remove(folder, name);
            fail(FileStep::Publish, error);
        }
        m_calls.close(claim);
    }
    if (!m_claim.stillThere()) {
        m_claim.forget();
        return false;
    }
    if (m_calls.rename(folder, m_temporary, name) != 0) {
        const int error = errno;
        m_claim.removeNow();
        fail(FileStep::Publish, error);
    }
    m_claim.forget();
    return true;
}

void ReplacingFile::publishReplacing() {
    ensureReplaceable();
    if (m_temporary.empty() && !nameUnnamedTemporarily()) {
        moveToNamedTemporary();
    }
    takeOverAttributes();
    if (m_calls.rename(m_resolved.folder.get(), m_temporary, m_resolved.name) != 0) {
        fail(FileStep::Publish, errno);
    }
}

bool ReplacingFile::commit(Placement placement) {
    if (!m_synced) {
        flush();
        if (m_calls.sync(m_fd) != 0) {
            fail(FileStep::Sync, errno);
        }
        m_synced = true;
    }
    ensureFolderInPlace();
    if (!publish(placement)) {
        return false;
    }
    // The file is on the disk; closing it has nothing left to report.
    m_calls.close(std::exchange(m_fd, -1));
    // A file system that keeps no folder to flush answers EINVAL.
    if (m_calls.sync(m_resolved.folder.get()) != 0 && errno != EINVAL) {
        fail(FileStep::SyncFolder, errno);
    }
    return true;
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
        const long written = m_calls.write(m_fd, bytes.data() + done, bytes.size() - done);
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            // A write that moves nothing without an error code is a full disk all the same.
            fail(FileStep::Write, written < 0 ? errno : ENOSPC);
        }
        done += static_cast<std::size_t>(written);
    }
    // The disk takes the file a few megabytes at a time while the rest is built, so that the flush at commit
    // has little left to wait for. Only a hint: whatever fails here, that flush reports.
    constexpr long long kWritebackStep = 4 << 20;
    m_written += static_cast<long long>(bytes.size());
    if (m_written - m_writebackAsked >= kWritebackStep) {
        m_calls.startWriteback(m_fd, m_writebackAsked, m_written - m_writebackAsked);
        m_writebackAsked = m_written;
    }
}

} // namespace kalvian
