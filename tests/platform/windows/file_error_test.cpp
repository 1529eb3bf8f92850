// What the codes GetLastError gives mean to the user: the window's texts and the command line's reasons.
#include "platform/file_error.h"
#include "platform/system_error.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace kalvian {
namespace {

TEST(FileErrorWindows, TheSystemsCodesGiveTheTextsAndReasons) {
    const struct {
        DWORD error;
        FileStep step;
        const char* message;
        const char* reason;
    } cases[] = {
        {ERROR_PATH_NOT_FOUND, FileStep::OpenFolder, "Invalid filename", "pasta de destino não encontrada"},
        {ERROR_FILE_NOT_FOUND, FileStep::Publish, "Invalid filename",
         "a pasta de destino foi movida ou removida durante a exportação"},
        {ERROR_BAD_NETPATH, FileStep::OpenFolder, "Invalid filename", "pasta de destino não encontrada"},
        {ERROR_DIRECTORY, FileStep::OpenFolder, "Invalid filename",
         "o caminho da pasta de destino passa por um arquivo"},
        {ERROR_FILENAME_EXCED_RANGE, FileStep::Create, "Invalid filename", "nome longo demais"},
        {ERROR_INVALID_NAME, FileStep::CheckTarget, "Invalid filename", "não é um nome de arquivo"},
        {ERROR_TOO_MANY_OPEN_FILES, FileStep::Create, "Too many open files", "arquivos abertos demais"},
        {ERROR_ACCESS_DENIED, FileStep::CheckTarget, "File access denied",
         "o arquivo existente não pode ser alterado"},
        {ERROR_ACCESS_DENIED, FileStep::Create, "File access denied",
         "sem permissão para gravar na pasta de destino"},
        {ERROR_WRITE_PROTECT, FileStep::Create, "File access denied",
         "a pasta de destino é somente para leitura"},
        {336, FileStep::CheckTarget, "File access denied", "o nome é de uma pasta"},
        {ERROR_DISK_FULL, FileStep::Write, "Disk full", "disco cheio"},
        {ERROR_HANDLE_DISK_FULL, FileStep::Write, "Disk full", "disco cheio"},
        {ERROR_SHARING_VIOLATION, FileStep::Publish, "I/O error 32",
         "o arquivo está aberto em outro programa"},
        {ERROR_LOCK_VIOLATION, FileStep::Write, "I/O error 33", "o arquivo está aberto em outro programa"},
        {ERROR_CRC, FileStep::Write, "I/O error 23", "falha ao gravar o arquivo"},
        {ERROR_NOT_SAME_DEVICE, FileStep::Publish, "I/O error 17", "o arquivo não pode receber o seu nome"},
    };
    for (const auto& c : cases) {
        const FileError error(static_cast<int>(c.error), c.step, "C:\\saida\\x.txt");
        EXPECT_STREQ(error.what(), c.message) << c.error;
        EXPECT_EQ(error.whereAndWhy(), std::string("C:\\saida\\x.txt: ") + c.reason + " (" +
                                           systemErrorText(static_cast<int>(c.error)) + ")")
            << c.error;
    }
}

TEST(FileErrorWindows, TheSystemsTextEndsWithoutItsPeriodAndLineBreak) {
    const std::string text = systemErrorText(ERROR_ACCESS_DENIED);
    EXPECT_FALSE(text.empty());
    EXPECT_NE(text.back(), '.');
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    EXPECT_EQ(systemErrorText(0x2FFFFFFF), "erro " + std::to_string(0x2FFFFFFF));
}

} // namespace
} // namespace kalvian
