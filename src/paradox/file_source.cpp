#include "paradox/file_source.h"

#include "paradox/table_error.h"
#include "platform/system_error.h"

namespace kalvian::paradox {

namespace {

Error openFailure(const std::string& file, const InputFile::Failure& failure) {
    switch (errorKind(failure.systemError)) {
    case ErrorKind::InUse:
        return tableHeldElsewhere(file);
    case ErrorKind::NotFound:
        return unreadableTable(file, "arquivo não encontrado");
    case ErrorKind::AccessDenied:
        return unreadableTable(file, "acesso negado");
    case ErrorKind::IsAFolder:
        return unreadableTable(file, "é uma pasta");
    default:
        return unreadableTable(file, "erro do sistema " + std::to_string(failure.systemError));
    }
}

} // namespace

FileSource::FileSource(std::string path) : m_name(std::move(path)) {
    try {
        m_file.emplace(m_name);
    } catch (const InputFile::Failure& failure) {
        throw openFailure(m_name, failure);
    }
    // A pipe or a device has no size to check offsets against.
    if (m_file->kind() == InputFile::Kind::Folder) {
        throw unreadableTable(m_name, "é uma pasta");
    }
    if (m_file->kind() != InputFile::Kind::Plain) {
        throw unreadableTable(m_name, "não é um arquivo comum");
    }
}

std::size_t FileSource::readAt(std::uint64_t offset, std::span<std::byte> out) const {
    try {
        return m_file->readAt(offset, out);
    } catch (const InputFile::Failure& failure) {
        // Permission is settled at the opening: a read refused afterwards meets another program's lock
        // (Windows' ERROR_LOCK_VIOLATION; EACCES through Linux's SMB client).
        const ErrorKind kind = errorKind(failure.systemError);
        if (kind == ErrorKind::InUse || kind == ErrorKind::AccessDenied) {
            throw tableHeldElsewhere(m_name);
        }
        throw unreadableTable(m_name, "erro de leitura " + std::to_string(failure.systemError));
    }
}

void FileSource::checkUnchanged() const {
    bool same = false;
    try {
        same = m_file->unchanged();
    } catch (const InputFile::Failure& failure) {
        throw openFailure(m_name, failure);
    }
    if (!same) {
        throw tableChanged(m_name);
    }
}

} // namespace kalvian::paradox
