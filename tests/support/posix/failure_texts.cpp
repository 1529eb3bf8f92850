#include "support/failure_texts.h"

namespace kalvian::test {

std::string reasonAndText(PathFailure failure) {
    switch (failure) {
    case PathFailure::FolderMissing:
        return "pasta de destino não encontrada (No such file or directory)";
    case PathFailure::FileInThePath:
        return "o caminho da pasta de destino passa por um arquivo (Not a directory)";
    case PathFailure::NameIsAFolder:
        return "o nome é de uma pasta (Is a directory)";
    case PathFailure::NameTooLong:
        return "nome longo demais (File name too long)";
    }
    return {};
}

} // namespace kalvian::test
