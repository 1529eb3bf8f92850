#include "support/failure_texts.h"

#include "platform/system_error.h"

#include <windows.h>

namespace kalvian::test {

namespace {

// The system's words, as FormatMessage gives them in this system's language.
std::string text(DWORD error) {
    return " (" + systemErrorText(static_cast<int>(error)) + ")";
}

} // namespace

std::string reasonAndText(PathFailure failure) {
    switch (failure) {
    case PathFailure::FolderMissing:
        return "pasta de destino não encontrada" + text(ERROR_PATH_NOT_FOUND);
    case PathFailure::FileInThePath:
        return "o caminho da pasta de destino passa por um arquivo" + text(ERROR_DIRECTORY);
    case PathFailure::NameIsAFolder:
        // ERROR_DIRECTORY_NOT_SUPPORTED
        return "o nome é de uma pasta" + text(336);
    case PathFailure::NameTooLong:
        return "nome longo demais" + text(ERROR_FILENAME_EXCED_RANGE);
    }
    return {};
}

} // namespace kalvian::test
