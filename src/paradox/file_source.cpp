#include "paradox/file_source.h"

#include "paradox/table_error.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kalvian::paradox {

namespace {

std::string openFailureReason(int error) {
    switch (error) {
    case ENOENT:
        return "arquivo não encontrado";
    case EACCES:
    case EPERM:
        return "acesso negado";
    case EISDIR:
        return "é uma pasta";
    default:
        return "erro do sistema " + std::to_string(error);
    }
}

} // namespace

FileSource::FileSource(const std::filesystem::path& path) : m_name(path.string()) {
    m_fd = ::open(m_name.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        throw unreadableTable(m_name, openFailureReason(errno));
    }
    struct stat info {};
    const bool known = ::fstat(m_fd, &info) == 0;
    if (!known || !S_ISREG(info.st_mode)) {
        const int error = errno;
        ::close(m_fd);
        // A pipe or a device has no size to check offsets against.
        throw unreadableTable(m_name, !known                  ? openFailureReason(error)
                                      : S_ISDIR(info.st_mode) ? openFailureReason(EISDIR)
                                                              : "não é um arquivo comum");
    }
    m_size = static_cast<std::uint64_t>(info.st_size);
    m_modified = info.st_mtim;
}

FileSource::~FileSource() {
    ::close(m_fd);
}

std::size_t FileSource::readAt(std::uint64_t offset, std::span<std::byte> out) const {
    std::size_t done = 0;
    while (done < out.size()) {
        const ssize_t got =
            ::pread(m_fd, out.data() + done, out.size() - done, static_cast<off_t>(offset + done));
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw unreadableTable(m_name, "erro de leitura " + std::to_string(errno));
        }
        if (got == 0) {
            break;
        }
        done += static_cast<std::size_t>(got);
    }
    return done;
}

void FileSource::checkUnchanged() const {
    struct stat info {};
    if (::fstat(m_fd, &info) != 0) {
        throw unreadableTable(m_name, openFailureReason(errno));
    }
    if (static_cast<std::uint64_t>(info.st_size) != m_size || info.st_mtim.tv_sec != m_modified.tv_sec ||
        info.st_mtim.tv_nsec != m_modified.tv_nsec) {
        throw unreadableTable(m_name, "o arquivo mudou durante a leitura");
    }
}

} // namespace kalvian::paradox
