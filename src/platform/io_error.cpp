#include "io_error.h"

#include <cerrno>
#include <system_error>

namespace kalvian {

std::string ioErrorMessage(int systemError, FileOperation operation) {
    switch (systemError) {
    case ENOENT:
        // A file missing where it must be read; when creating, a folder of the path is missing.
        return operation == FileOperation::Read ? "File not found" : "Invalid filename";
    case ENOTDIR:
    case ENAMETOOLONG:
    case EINVAL:
        return "Invalid filename";
    case EMFILE:
    case ENFILE:
        return "Too many open files";
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY:
        return "File access denied";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "Disk full";
    default:
        return "I/O error " + std::to_string(systemError);
    }
}

namespace {

std::string reasonOfStep(FileStep step) {
    switch (step) {
    case FileStep::OpenFolder:
        return "a pasta de destino não pode ser aberta";
    case FileStep::CheckTarget:
        return "o arquivo existente não pode ser examinado";
    case FileStep::Create:
        return "o arquivo não pode ser criado";
    case FileStep::Write:
        return "falha ao gravar o arquivo";
    case FileStep::Sync:
        return "falha ao levar o arquivo ao disco";
    case FileStep::Publish:
        return "o arquivo não pode receber o seu nome";
    case FileStep::SyncFolder:
        return "falha ao levar a pasta de destino ao disco";
    }
    return {};
}

} // namespace

std::string ioErrorReason(int systemError, FileStep step) {
    switch (systemError) {
    case ENOENT:
        // The folder was there when the run began, unless it could not even be reached.
        return step == FileStep::OpenFolder
                   ? "pasta de destino não encontrada"
                   : "a pasta de destino foi movida ou removida durante a exportação";
    case ENOTDIR:
        return "o caminho da pasta de destino passa por um arquivo";
    case EACCES:
    case EPERM:
        if (step == FileStep::OpenFolder) {
            return "sem permissão para entrar na pasta de destino";
        }
        return step == FileStep::CheckTarget ? "o arquivo existente não pode ser alterado"
                                             : "sem permissão para gravar na pasta de destino";
    case EROFS:
        return "a pasta de destino é somente para leitura";
    case EISDIR:
        return "o nome é de uma pasta";
    case ENAMETOOLONG:
        return "nome longo demais";
    case ELOOP:
        return "links simbólicos em ciclo";
    case EINVAL:
        return "não é um nome de arquivo";
    case EMFILE:
    case ENFILE:
        return "arquivos abertos demais";
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
        return "disco cheio";
    default:
        return reasonOfStep(step);
    }
}

FileError::FileError(int systemError, FileStep step, std::string path)
    : Error(ioErrorMessage(systemError, FileOperation::Create)), m_systemError(systemError), m_step(step),
      m_path(std::move(path)) {}

std::string FileError::whereAndWhy() const {
    return m_path + ": " + ioErrorReason(m_systemError, m_step) + " (" +
           std::generic_category().message(m_systemError) + ")";
}

} // namespace kalvian
