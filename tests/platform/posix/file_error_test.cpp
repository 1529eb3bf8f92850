#include "platform/file_error.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <system_error>

namespace kalvian {
namespace {

TEST(IoErrorMessagePosix, MapsTheSystemErrors) {
    const struct {
        int error;
        FileOperation operation;
        const char* message;
    } cases[] = {
        {ENOENT, FileOperation::Read, "File not found"},
        {ENOENT, FileOperation::Create, "Invalid filename"},
        {ENOTDIR, FileOperation::Create, "Invalid filename"},
        {ENAMETOOLONG, FileOperation::Create, "Invalid filename"},
        {EMFILE, FileOperation::Create, "Too many open files"},
        {ENFILE, FileOperation::Create, "Too many open files"},
        {EACCES, FileOperation::Create, "File access denied"},
        {EPERM, FileOperation::Write, "File access denied"},
        {EROFS, FileOperation::Create, "File access denied"},
        {EISDIR, FileOperation::Create, "File access denied"},
        {ENOSPC, FileOperation::Write, "Disk full"},
        {EDQUOT, FileOperation::Write, "Disk full"},
        {EIO, FileOperation::Write, "I/O error 5"},
        {EBUSY, FileOperation::Create, "I/O error 16"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ioErrorMessage(c.error, c.operation), c.message) << c.error;
    }
}

TEST(IoErrorReasonPosix, SaysWhyInPortugueseByErrorAndStep) {
    const struct {
        int error;
        FileStep step;
        const char* reason;
    } cases[] = {
        {ENOENT, FileStep::OpenFolder, "pasta de destino não encontrada"},
        {ENOENT, FileStep::Publish, "a pasta de destino foi movida ou removida durante a exportação"},
        {ENOTDIR, FileStep::OpenFolder, "o caminho da pasta de destino passa por um arquivo"},
        {EACCES, FileStep::OpenFolder, "sem permissão para entrar na pasta de destino"},
        {EACCES, FileStep::CheckTarget, "o arquivo existente não pode ser alterado"},
        {EPERM, FileStep::Create, "sem permissão para gravar na pasta de destino"},
        {EROFS, FileStep::Create, "a pasta de destino é somente para leitura"},
        {EISDIR, FileStep::CheckTarget, "o nome é de uma pasta"},
        {ENAMETOOLONG, FileStep::CheckTarget, "nome longo demais"},
        {ELOOP, FileStep::CheckTarget, "links simbólicos em ciclo"},
        {EMFILE, FileStep::Create, "arquivos abertos demais"},
        {EDQUOT, FileStep::Write, "disco cheio"},
        {EIO, FileStep::OpenFolder, "a pasta de destino não pode ser aberta"},
        {EIO, FileStep::CheckTarget, "o arquivo existente não pode ser examinado"},
        {EIO, FileStep::Create, "o arquivo não pode ser criado"},
        {EIO, FileStep::Write, "falha ao gravar o arquivo"},
        {EIO, FileStep::Sync, "falha ao levar o arquivo ao disco"},
        {EXDEV, FileStep::Publish, "o arquivo não pode receber o seu nome"},
        {EIO, FileStep::SyncFolder, "falha ao levar a pasta de destino ao disco"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ioErrorReason(c.error, c.step), c.reason) << c.error;
    }
}

TEST(FileErrorPosix, WindowTextAloneCommandLineAddsWhereAndWhy) {
    const FileError error(ENOENT, FileStep::OpenFolder, "/saida/nao/existe/x.txt");
    EXPECT_STREQ(error.what(), "Invalid filename");
    EXPECT_EQ(error.whereAndWhy(), "/saida/nao/existe/x.txt: pasta de destino não encontrada (" +
                                       std::generic_category().message(ENOENT) + ")");
}

} // namespace
} // namespace kalvian
