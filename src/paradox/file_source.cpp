#include "paradox/file_source.h"

#include "paradox/table_error.h"
#include "platform/system_error.h"

namespace kalvian::paradox {

namespace {

std::string failureReason(const InputFile::Failure& failure) {
    switch (errorKind(failure.systemError)) {
    case ErrorKind::NotFound:
        return "arquivo não encontrado";
    case ErrorKind::AccessDenied:
        return "acesso negado";
    case ErrorKind::IsAFolder:
        return "é uma pasta";
    default:
        return "erro do sistema " + std::to_string(failure.systemError);
    }
}

} // namespace

FileSource::FileSource(std::string path) : m_name(std::move(path)) {
    try {
        m_file.emplace(m_name);
    } catch (const InputFile::Failure& failure) {
        throw unreadableTable(m_name, failureReason(failure));
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
        throw unreadableTable(m_name, "erro de leitura " + std::to_string(failure.systemError));
    }
}

void FileSource::checkUnchanged() const {
    bool same = false;
    try {
        same = m_file->unchanged();
    } catch (const InputFile::Failure& failure) {
        throw unreadableTable(m_name, failureReason(failure));
    }
    if (!same) {
        throw unreadableTable(m_name, "o arquivo mudou durante a leitura");
    }
}

} // namespace kalvian::paradox
