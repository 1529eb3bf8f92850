// kalvian-export on Windows takes the date separator of its lines from the user's regional settings (the
// short date of "Control Panel\International"), as every Windows program is given it.
#include "kalvian_export_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <optional>
#include <string>

namespace kalvian {
namespace {

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

} // namespace
} // namespace kalvian
