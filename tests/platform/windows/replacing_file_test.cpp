// The Windows safe writer on real files: a new name, a replaced file keeping its attributes, a read-only
// file, a target another program holds open, a disk that fills up midway (through the FileCalls seam), names
// with accents and paths longer than 260 characters.
#include "platform/file_error.h"
#include "platform/files.h"
#include "platform/replacing_file.h"
#include "platform/system_error.h"
#include "platform/windows/wide_text.h"
#include "support/temp_folder.h"
#include "support/windows/wide_files.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::makeFolders;
using test::readFile;
using test::readWide;
using test::TempFolder;
using test::writeFile;

// Writes that run out of room after some bytes, as a disk that fills up.
class FullDisk : public FileCalls {
public:
    explicit FullDisk(std::size_t room) : m_room(room) {}

    int write(Handle file, const char* data, std::size_t size, std::size_t& written) override {
        if (m_room == 0) {
            return ERROR_DISK_FULL;
        }
        const std::size_t allowed = std::min(size, m_room);
        m_room -= allowed;
        return FileCalls::write(file, data, allowed, written);
    }

private:
    std::size_t m_room;
};

std::string writeAndCommit(const std::string& target, const std::string& bytes, Placement placement,
                           FileCalls& calls = FileCalls::system()) {
    ReplacingFile file(target, calls);
    file.write(bytes);
    return file.commit(placement) ? "gravado" : "nome tomado";
}

// The failure's window text and the command line's reason, or "no error".
template <class Work> std::string failureOf(Work&& work) {
    try {
        work();
    } catch (const FileError& error) {
        return std::string(error.what()) + " | " + error.whereAndWhy();
    }
    return "no error";
}

class ReplacingFileWindowsTest : public ::testing::Test {
protected:
    std::string target() const { return folder / "saida.txt"; }
    std::vector<std::string> names(const std::string& where) const {
        std::vector<std::string> found = folderEntries(where);
        std::sort(found.begin(), found.end());
        return found;
    }
    std::vector<std::string> names() const { return names(folder.path().string()); }
    std::string reasonWithText(const char* reason, DWORD error) const {
        return target() + ": " + reason + " (" + systemErrorText(static_cast<int>(error)) + ")";
    }

    TempFolder folder;
};

// ---- taking the name

TEST_F(ReplacingFileWindowsTest, ANewNameIsTakenOnlyWhileFreeAndReplacedOnlyWhenAsked) {
    ReplacingFile slow(target());
    slow.write("lento");
    EXPECT_EQ(writeAndCommit(target(), "rapido", Placement::New), "gravado");

    EXPECT_FALSE(slow.commit(Placement::New));
    EXPECT_EQ(readFile(target()), "rapido");
    EXPECT_TRUE(slow.commit(Placement::Replace));
    EXPECT_EQ(readFile(target()), "lento");
    EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"});
}

// Another run replacing the same name at once: between this run's look and its replacement the file is set
// aside (the name free for a moment) or the name is given anew.
class OtherRunMeanwhile : public FileCalls {
public:
    OtherRunMeanwhile(std::string target, bool nameGivenAnew)
        : m_target(std::move(target)), m_anew(nameGivenAnew) {}

    int mayRemove(const std::wstring& path) override {
        if (m_looks++ == 0) {
            ::DeleteFileW(path.c_str());
            if (m_anew) {
                writeFile(m_target, "outra execucao");
            }
            return ERROR_FILE_NOT_FOUND;
        }
        return FileCalls::mayRemove(path);
    }

private:
    std::string m_target;
    bool m_anew;
    int m_looks = 0;
};

TEST_F(ReplacingFileWindowsTest, AnotherRunReplacingAtOnceDoesNotMakeTheReplacementFail) {
    for (const bool nameGivenAnew : {false, true}) {
        writeFile(target(), "antigo");
        OtherRunMeanwhile calls(target(), nameGivenAnew);
        EXPECT_EQ(writeAndCommit(target(), "novo", Placement::Replace, calls), "gravado") << nameGivenAnew;
        EXPECT_EQ(readFile(target()), "novo") << nameGivenAnew;
        EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"}) << nameGivenAnew;
    }
}

TEST_F(ReplacingFileWindowsTest, ReplacedFileKeepsItsAttributesAndTakesTheNewBytes) {
    for (const DWORD attributes : {DWORD{FILE_ATTRIBUTE_ARCHIVE}, DWORD{FILE_ATTRIBUTE_HIDDEN},
                                   DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE}}) {
        writeFile(target(), "antigo");
        ASSERT_TRUE(::SetFileAttributesW(systemPath(target()).c_str(), attributes));
        EXPECT_EQ(writeAndCommit(target(), "novo\r\n", Placement::Replace), "gravado") << attributes;
        EXPECT_EQ(readFile(target()), "novo\r\n") << attributes;
        const DWORD kept = ::GetFileAttributesW(systemPath(target()).c_str());
        EXPECT_EQ(kept & FILE_ATTRIBUTE_HIDDEN, attributes & FILE_ATTRIBUTE_HIDDEN) << attributes;
        EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"}) << attributes;
        ::SetFileAttributesW(systemPath(target()).c_str(), FILE_ATTRIBUTE_NORMAL);
    }
}

TEST_F(ReplacingFileWindowsTest, AbandonedFileLeavesNothing) {
    writeFile(target(), "antigo");
    {
        ReplacingFile file(target());
        file.write(std::string(100000, 'x'));
        EXPECT_EQ(names().size(), 2u);
    }
    EXPECT_EQ(readFile(target()), "antigo");
    EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"});
}

// ---- what is not replaced

TEST_F(ReplacingFileWindowsTest, ReadOnlyFileIsAccessDeniedAtOnceAndWhenItTurnsReadOnlyMeanwhile) {
    const std::string denied =
        "File access denied | " +
        reasonWithText("o arquivo existente não pode ser alterado", ERROR_ACCESS_DENIED);
    writeFile(target(), "antigo");
    ASSERT_TRUE(::SetFileAttributesW(systemPath(target()).c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(failureOf([&] { const ReplacingFile file(target()); }), denied);

    ::SetFileAttributesW(systemPath(target()).c_str(), FILE_ATTRIBUTE_NORMAL);
    ReplacingFile late(target());
    late.write("novo");
    ::SetFileAttributesW(systemPath(target()).c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(failureOf([&] { late.commit(Placement::Replace); }), denied);
    EXPECT_EQ(readFile(target()), "antigo");
    ::SetFileAttributesW(systemPath(target()).c_str(), FILE_ATTRIBUTE_NORMAL);
}

// Another program holding the target open: replaced when it shares the file with deleting (as a viewer may),
// kept with a clear failure when it does not.
TEST_F(ReplacingFileWindowsTest, TargetOpenInAnotherProgramIsReplacedOnlyWhenItSharesTheFile) {
    const std::string inUse = "I/O error 32 | " + reasonWithText("o arquivo está aberto em outro programa",
                                                                 ERROR_SHARING_VIOLATION);
    const struct {
        const char* name;
        DWORD sharing;
        std::string failure;
        const char* left;
    } cases[] = {
        {"sem-compartilhar", 0, inUse, "antigo"},
        {"so-leitura", FILE_SHARE_READ, inUse, "antigo"},
        {"leitura-e-gravacao", FILE_SHARE_READ | FILE_SHARE_WRITE, inUse, "antigo"},
        {"tudo", FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, "no error", "novo"},
    };
    for (const auto& c : cases) {
        writeFile(target(), "antigo");
        const HANDLE held = ::CreateFileW(systemPath(target()).c_str(), GENERIC_READ, c.sharing, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.name;
        const std::string failure = failureOf([&] { writeAndCommit(target(), "novo", Placement::Replace); });
        ::CloseHandle(held);
        EXPECT_EQ(failure, c.failure) << c.name;
        EXPECT_EQ(readFile(target()), c.left) << c.name;
        EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"}) << c.name;
    }
}

TEST_F(ReplacingFileWindowsTest, WhatIsNoFileOrLacksAFolderIsRefusedSayingWhy) {
    fs::create_directory(folder.path() / "pasta");
    writeFile(folder.path() / "arquivo", "");
    const struct {
        const char* name;
        std::string path;
        const char* message;
        const char* reason;
        DWORD error;
    } cases[] = {
        {"pasta", folder / "pasta", "File access denied", "o nome é de uma pasta", 336},
        {"pasta-inexistente", folder / "nao-ha/saida.txt", "Invalid filename",
         "pasta de destino não encontrada", ERROR_PATH_NOT_FOUND},
        {"arquivo-no-caminho", folder / "arquivo/saida.txt", "Invalid filename",
         "o caminho da pasta de destino passa por um arquivo", ERROR_DIRECTORY},
        {"nome-longo-demais", folder / std::string(256, 'n'), "Invalid filename", "nome longo demais",
         ERROR_FILENAME_EXCED_RANGE},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(failureOf([&] { const ReplacingFile file(c.path); }),
                  std::string(c.message) + " | " + c.path + ": " + c.reason + " (" +
                      systemErrorText(static_cast<int>(c.error)) + ")")
            << c.name;
    }
    EXPECT_EQ(names(), (std::vector<std::string>{"arquivo", "pasta"}));
}

// ---- a failure midway

TEST_F(ReplacingFileWindowsTest, DiskFullMidwayKeepsTheOldFileAndLeavesNoTemporaryFile) {
    for (const Placement placement : {Placement::New, Placement::Replace}) {
        writeFile(target(), "antigo");
        FullDisk full(300);
        EXPECT_EQ(failureOf([&] { writeAndCommit(target(), std::string(200000, 'E'), placement, full); }),
                  "Disk full | " + reasonWithText("disco cheio", ERROR_DISK_FULL));
        EXPECT_EQ(readFile(target()), "antigo");
        EXPECT_EQ(names(), std::vector<std::string>{"saida.txt"});
    }
}

// ---- names

TEST_F(ReplacingFileWindowsTest, NamesWithAccentsAndPathsLongerThan260Characters) {
    std::string deep = folder / "Contabilidade";
    while (deep.size() <= 300) {
        deep += "\\pasta-com-nome-comprido";
    }
    const struct {
        const char* name;
        std::string folder; // UTF-8
        std::string file;
    } cases[] = {
        {"acentos", folder / "Contabilidade\\S\xC3\xA3o Jo\xC3\xA3o\\VRK3", "Concei\xC3\xA7\xC3\xA3o.txt"},
        {"caminho-longo", deep, "VRK3_1001__01_01_2008__15_12_2008.txt"},
    };
    for (const auto& c : cases) {
        makeFolders(c.folder);
        const std::string path = c.folder + "\\" + c.file;
        ASSERT_EQ(fileExists(path), false) << c.name;
        EXPECT_EQ(writeAndCommit(path, "H0000000100140\r\n", Placement::New), "gravado") << c.name;
        EXPECT_TRUE(fileExists(path)) << c.name;
        EXPECT_EQ(readWide(path), "H0000000100140\r\n") << c.name;
        EXPECT_EQ(folderEntries(c.folder), std::vector<std::string>{c.file}) << c.name;
        EXPECT_EQ(writeAndCommit(path, "novo", Placement::Replace), "gravado") << c.name;
        EXPECT_EQ(readWide(path), "novo") << c.name;
    }
    EXPECT_GT(deep.size() + 1 + std::string("VRK3_1001__01_01_2008__15_12_2008.txt").size(), 300u);
}

} // namespace
} // namespace kalvian
