#include "platform/file_error.h"

#include "platform/system_error.h"

namespace kalvian {

std::string ioErrorMessage(int systemError, FileOperation operation) {
    switch (errorKind(systemError)) {
    case ErrorKind::NotFound:
        // A file missing where it must be read; when creating, a folder of the path is missing.
        return operation == FileOperation::Read ? "File not found" : "Invalid filename";
    case ErrorKind::NotAFolder:
    case ErrorKind::NameTooLong:
    case ErrorKind::InvalidName:
        return "Invalid filename";
    case ErrorKind::TooManyOpenFiles:
        return "Too many open files";
    case ErrorKind::AccessDenied:
    case ErrorKind::ReadOnly:
    case ErrorKind::IsAFolder:
        return "File access denied";
    case ErrorKind::DiskFull:
        return "Disk full";
    case ErrorKind::LinkLoop:
    case ErrorKind::InUse:
    case ErrorKind::Other:
        break;
    }
    return "I/O error " + std::to_string(systemError);
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
    switch (errorKind(systemError)) {
    case ErrorKind::NotFound:
        // The folder was there when the run began, unless it could not even be reached.
        return step == FileStep::OpenFolder
                   ? "pasta de destino não encontrada"
                   : "a pasta de destino foi movida ou removida durante a exportação";
    case ErrorKind::NotAFolder:
        return "o caminho da pasta de destino passa por um arquivo";
    case ErrorKind::AccessDenied:
        if (step == FileStep::OpenFolder) {
            return "sem permissão para entrar na pasta de destino";
        }
        return step == FileStep::CheckTarget ? "o arquivo existente não pode ser alterado"
                                             : "sem permissão para gravar na pasta de destino";
    case ErrorKind::ReadOnly:
        return "a pasta de destino é somente para leitura";
    case ErrorKind::IsAFolder:
        return "o nome é de uma pasta";
    case ErrorKind::NameTooLong:
        return "nome longo demais";
    case ErrorKind::LinkLoop:
        return "links simbólicos em ciclo";
    case ErrorKind::InvalidName:
        return "não é um nome de arquivo";
    case ErrorKind::TooManyOpenFiles:
        return "arquivos abertos demais";
    case ErrorKind::DiskFull:
        return "disco cheio";
    case ErrorKind::InUse:
        return "o arquivo está aberto em outro programa";
    case ErrorKind::Other:
        break;
    }
    return reasonOfStep(step);
}

FileError::FileError(int systemError, FileStep step, std::string path)
    : Error(ioErrorMessage(systemError, FileOperation::Create)), m_systemError(systemError), m_step(step),
      m_path(std::move(path)) {}

std::string FileError::whereAndWhy() const {
    return m_path + ": " + ioErrorReason(m_systemError, m_step) + " (" + systemErrorText(m_systemError) + ")";
}

} // namespace kalvian
