#include "platform/replacing_file.h"

#include "platform/posix/file_descriptor.h"

#include <random>
#include <utility>

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

// Tries hidden names until `take` finds one free (it answers EEXIST for a name taken): what it answered
// last. It runs with the signals held, so that a file it makes is watched before one of them can end the
// process.
template <class Take> int underHiddenName(const Take& take) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const HeldSignals held;
        const int error = take(temporaryName());
        if (error != EEXIST) {
            return error;
        }
    }
    return EEXIST;
}

} // namespace

ReplacingFile::ReplacingFile(std::string target, FileCalls& calls)
    : m_calls(calls), m_target(std::move(target)), m_resolved(resolveTarget(m_target, calls)) {
    if (m_resolved.exists) {
        ensureReplaceable();
    }
    if (const int error = m_calls.createUnnamed(folder(), m_file)) {
        if (!lacksUnnamedFiles(error)) {
            fail(FileStep::Create, error);
        }
        createNamed();
    }
}

ReplacingFile::~ReplacingFile() {
    if (m_file >= 0) {
        m_calls.close(m_file);
    }
    if (!m_temporary.empty()) {
        m_calls.remove(folder(), m_temporary);
    }
}

// A new file under the name, watched so that a signal removes it; EEXIST when the name is taken.
int ReplacingFile::createWatched(const std::string& name, InterruptCleanup& cleanup, int& fd) {
    if (const int error = m_calls.createNew(folder(), name, fd)) {
        return error;
    }
    const int error = cleanup.watch(folder(), name, fd);
    if (error != 0) {
        m_calls.close(fd);
        m_calls.remove(folder(), name);
    }
    return error;
}

void ReplacingFile::createNamed() {
    int fd = -1;
    const int error = underHiddenName([&](const std::string& name) {
        const int created = createWatched(name, m_cleanup, fd);
        if (created == 0) {
            m_temporary = name;
        }
        return created;
    });
    if (error != 0) {
        fail(FileStep::Create, error);
    }
    m_file = fd;
    m_written = 0;
    m_writebackAsked = 0;
}

// A file without a name can only replace another once it has a name of its own. False when the file system
// links no file.
bool ReplacingFile::nameUnnamedTemporarily() {
    const int error = underHiddenName([&](const std::string& name) {
        const int named = m_calls.nameUnnamed(m_file, folder(), name);
        if (named == 0) {
            m_temporary = name;
            if (const int watched = m_cleanup.watch(folder(), name, m_file)) {
                fail(FileStep::Publish, watched);
            }
        }
        return named;
    });
    if (error != 0 && !refusesLinks(error)) {
        fail(FileStep::Publish, error);
    }
    return error == 0;
}

// A file system may make files without a name and yet link none (a FUSE file system can), which leaves such
// a file no way to a name: its bytes move to a hidden named file, which a rename can name.
void ReplacingFile::moveToNamedTemporary() {
    const FileDescriptor unnamed(std::exchange(m_file, FileCalls::kNoHandle), m_calls);
    createNamed();
    std::string chunk(BufferedOutput::kSize, '\0');
    for (long long done = 0;;) {
        std::size_t got = 0;
        if (const int error = m_calls.readAt(unnamed.get(), done, chunk.data(), chunk.size(), got)) {
            fail(FileStep::Write, error);
        }
        if (got == 0) {
            break;
        }
        writeAll(std::string_view(chunk).substr(0, got));
        done += static_cast<long long>(got);
    }
    sync();
}

// Refused as writing the file in place would be: a read-only file stays as it is.
void ReplacingFile::ensureReplaceable() const {
    const int error = m_calls.mayWrite(folder(), m_resolved.name);
    if (error != 0 && error != ENOENT) {
        fail(FileStep::CheckTarget, error);
    }
}

void ReplacingFile::takeOverAttributes() const {
    struct stat old {};
    if (m_calls.status(folder(), m_resolved.name, old) != 0) {
        return; // gone meanwhile: the new file keeps what it was created with
    }
    // Owner first, since a change of owner drops the set-user-ID bit. A process that may not give the file
    // away may still give it one of its own groups; failing both, the file stays its own.
    if (m_calls.setOwner(m_file, old.st_uid, old.st_gid) != 0) {
        m_calls.setOwner(m_file, static_cast<uid_t>(-1), old.st_gid);
    }
    const int error = m_calls.setPermissionBits(m_file, old.st_mode & kPermissionBits);
    if (error != 0 && !keepsNoPermissionBits(error)) {
        fail(FileStep::Publish, error);
    }
}

// The folder the run began in must still be where it was: a file that took its name in a folder moved
// away would not be where the user looks for it.
void ReplacingFile::ensureFolderInPlace() const {
    struct stat held {};
    struct stat atPath {};
    if (m_calls.openStatus(folder(), held) != 0 || m_calls.pathStatus(m_resolved.folderPath, atPath) != 0 ||
        held.st_dev != atPath.st_dev || held.st_ino != atPath.st_ino) {
        fail(FileStep::Publish, ENOENT);
    }
}

void ReplacingFile::published() {
    m_temporary.clear();
    m_cleanup.forget();
    // The file is on the disk; closing it has nothing left to report.
    m_calls.close(std::exchange(m_file, FileCalls::kNoHandle));
    // A file system that keeps no folder to flush answers EINVAL.
    const int error = m_calls.sync(folder());
    if (error != 0 && error != EINVAL) {
        fail(FileStep::SyncFolder, error);
    }
}

bool ReplacingFile::publishNew() {
    ensureFolderInPlace();
    if (!takeNewName()) {
        return false;
    }
    published();
    return true;
}

// One way to a new name, tried: true when it gave the name, false when a file bears it, nothing when this
// way is missing here; any other answer fails.
std::optional<bool> ReplacingFile::wayGaveTheName(int systemError, bool (*missingHere)(int)) const {
    if (systemError == 0 || systemError == EEXIST) {
        return systemError == 0;
    }
    if (!missingHere(systemError)) {
        fail(FileStep::Publish, systemError);
    }
    return std::nullopt;
}

// Each way tried only where the one before it is missing: none of them ever replaces a file.
bool ReplacingFile::takeNewName() {
    const std::string& name = m_resolved.name;
    if (m_temporary.empty()) {
        if (const std::optional<bool> done =
                wayGaveTheName(m_calls.nameUnnamed(m_file, folder(), name), refusesLinks)) {
            return *done;
        }
        moveToNamedTemporary();
    }
    if (const std::optional<bool> done =
            wayGaveTheName(m_calls.renameNoReplace(folder(), m_temporary, name), lacksRenameNoReplace)) {
        return *done;
    }
    if (const std::optional<bool> done =
            wayGaveTheName(m_calls.link(folder(), m_temporary, name), refusesLinks)) {
        if (*done) {
            if (const int error = m_calls.remove(folder(), m_temporary)) {
                fail(FileStep::Publish, error);
            }
        }
        return *done;
    }
    return takeNameOverClaim();
}

// Creating a file only while its name is free works wherever files can be created (FAT and exFAT through
// FUSE, shares of every kind), and a rename over a file of our own replaces nothing of anyone else's. A claim
// that another program has replaced or removed meanwhile is no longer ours: the name counts as taken.
bool ReplacingFile::takeNameOverClaim() {
    const std::string& name = m_resolved.name;
    int claim = -1;
    const int error = [&] {
        const HeldSignals held;
        return createWatched(name, m_claim, claim);
    }();
    if (error == EEXIST) {
        return false;
    }
    if (error != 0) {
        fail(FileStep::Publish, error);
    }
    m_calls.close(claim);
    if (!m_claim.stillThere()) {
        m_claim.forget();
        return false;
    }
    if (const int renamed = m_calls.rename(folder(), m_temporary, name)) {
        m_claim.removeNow();
        fail(FileStep::Publish, renamed);
    }
    m_claim.forget();
    return true;
}

void ReplacingFile::publishReplacing() {
    ensureFolderInPlace();
    ensureReplaceable();
    if (m_temporary.empty() && !nameUnnamedTemporarily()) {
        moveToNamedTemporary();
    }
    takeOverAttributes();
    if (const int error = m_calls.rename(folder(), m_temporary, m_resolved.name)) {
        fail(FileStep::Publish, error);
    }
    published();
}

} // namespace kalvian
