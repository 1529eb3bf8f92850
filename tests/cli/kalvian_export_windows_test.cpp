// kalvian-export on Windows takes the date separator of its lines from the user's regional settings (the
// short date of "Control Panel\International"), as every Windows program is given it; and it reads tables
// that another program holds open in whatever sharing mode that program allows.
#include "file_holder_windows.h"
#include "kalvian_export_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <optional>
#include <string>

namespace kalvian {
namespace {

namespace fs = std::filesystem;
using test::FileHolder;
using test::ProcessEnd;
using test::readFile;
using test::runExport;

constexpr const wchar_t* kInternational = L"Control Panel\\International";

std::optional<std::wstring> userSetting(const wchar_t* name) {
    wchar_t value[128];
    DWORD size = sizeof(value);
    if (::RegGetValueW(HKEY_CURRENT_USER, kInternational, name, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(value);
}

void setUserSetting(const wchar_t* name, const std::optional<std::wstring>& value) {
    if (!value) {
        ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kInternational, name);
        return;
    }
    ASSERT_EQ(::RegSetKeyValueW(HKEY_CURRENT_USER, kInternational, name, REG_SZ, value->c_str(),
                                static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

// The user's short date set for the test and given back after it.
class RegionalDate {
public:
    RegionalDate(const wchar_t* shortDate, const wchar_t* separator)
        : m_shortDate(userSetting(L"sShortDate")), m_separator(userSetting(L"sDate")) {
        setUserSetting(L"sShortDate", shortDate);
        setUserSetting(L"sDate", separator);
    }
    ~RegionalDate() {
        setUserSetting(L"sShortDate", m_shortDate);
        setUserSetting(L"sDate", m_separator);
    }
    RegionalDate(const RegionalDate&) = delete;
    RegionalDate& operator=(const RegionalDate&) = delete;

private:
    std::optional<std::wstring> m_shortDate;
    std::optional<std::wstring> m_separator;
};

class KalvianExportWindowsTest : public test::KalvianExportTest {};

// Wine's ntdll cannot tell which processes have a file open (it answers no
// FileProcessIdsUsingFileInformation).
bool underWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST_F(KalvianExportWindowsTest, DateSeparatorOfTheLinesComesFromTheRegionalSettings) {
    const struct {
        const wchar_t* shortDate;
        const wchar_t* separator;
        const char* line;
    } cases[] = {
        {L"dd.MM.yyyy", L".", "E03.03.2008"},
        {L"dd-MM-yyyy", L"-", "E03-03-2008"},
        {L"dd/MM/yyyy", L"/", "E03/03/2008"},
    };
    for (const auto& c : cases) {
        const RegionalDate regional(c.shortDate, c.separator);
        const ProcessEnd result = runExport(march("--inscricao 123 --substituir"), destino());
        ASSERT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(readFile(exported()).substr(16, 11), c.line);
    }
}

TEST_F(KalvianExportWindowsTest, TablesAndLockFilesAnotherProgramHolds) {
    const std::string golden =
        readFile(std::string(KALVIAN_TEST_DATA_DIR) + "/cli/inscricao-123-marco-2008.txt");
    const std::string held = " (outro programa, talvez a VRK 3, está usando o arquivo)\n";
    const std::string unwritten =
        "Notas digitadas nela podem ainda não estar nos arquivos até que ela seja fechada.\n";
    // Where the system cannot tell that another program has the lock file open, its presence alone tells.
    const std::string openNow =
        underWine()
            ? "A VRK 3 parece estar aberta com estas tabelas (PDOXUSRS.LCK nesta pasta).\n" + unwritten +
                  "Arquivos deixados por uma VRK 3 que não foi fechada corretamente têm a mesma "
                  "aparência.\n"
            : "A VRK 3 está aberta agora com estas tabelas (PDOXUSRS.LCK em uso).\n" + unwritten;
    const struct {
        const char* name;
        const char* file;
        const char* access;
        const char* share;
        std::string err; // an export written when empty, or a warning
        bool exported;
    } cases[] = {
        // Read only: the table is opened without asking to write it.
        {"tabela-lida-compartilhando-so-leitura", "DSEMI.DB", "r", "r", "", true},
        // Shared for writing and deleting: what the other program does meanwhile is its own.
        {"tabela-gravada-compartilhando-leitura", "DSEMI.DB", "rw", "r", "", true},
        {"tabela-excluivel-compartilhando-leitura-e-gravacao", "DSREC.DB", "d", "rw", "", true},
        {"tabela-sem-compartilhar", "DSEMI.DB", "r", "-",
         "Não foi possível ler a tabela: " + origem() + "\\DSEMI.DB" + held, false},
        {"trava-aberta-agora", "PDOXUSRS.LCK", "rw", "rw", openNow, true},
    };
    for (const auto& c : cases) {
        const fs::path file = fs::path(origem()) / c.file;
        if (!fs::exists(file)) {
            test::writeFile(file, std::string(16, '\0')); // a lock file, of the engine's own bytes
        }
        test::emptyFolder(destino());
        const std::vector<std::string> before = test::folderState(origem());
        {
            const FileHolder holder(file, c.access, c.share);
            ASSERT_TRUE(holder.holding()) << c.name;
            const ProcessEnd result = runExport(march("--inscricao 123"), destino());
            EXPECT_EQ(result.exitCode, c.exported ? 0 : 1) << c.name;
            EXPECT_EQ(result.err, c.err) << c.name;
            EXPECT_EQ(readFile(exported()), c.exported ? golden : "") << c.name;
        }
        EXPECT_EQ(test::folderState(origem()), before) << c.name;
    }
}

} // namespace
} // namespace kalvian
