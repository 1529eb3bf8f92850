#include "platform/code_page_converter.h"

#include <windows.h>

namespace kalvian {

namespace {

constexpr UINT kWindows1252 = 1252;

// Through UTF-16, one source character at a time, so that a byte the code page does not define and a
// character Windows-1252 has no form for are each replaced by one "?", never by a look-alike.
class WindowsConverter : public CodePageConverter {
public:
    explicit WindowsConverter(UINT codePage) : m_codePage(codePage) {}

    std::string toWindows1252(std::string_view input, bool& complete) const override {
        complete = true;
        std::string output;
        output.reserve(input.size());
        std::size_t at = 0;
        while (at < input.size()) {
            const bool lead = ::IsDBCSLeadByteEx(m_codePage, static_cast<BYTE>(input[at])) != 0;
            if (lead && at + 1 == input.size()) {
                output += '?';
                complete = false;
                break;
            }
            const std::size_t length = lead ? 2 : 1;
            appendCharacter(output, input.substr(at, length));
            at += length;
        }
        return output;
    }

private:
    void appendCharacter(std::string& output, std::string_view character) const {
        wchar_t wide[2];
        const int units = ::MultiByteToWideChar(m_codePage, MB_ERR_INVALID_CHARS, character.data(),
                                                static_cast<int>(character.size()), wide, 2);
        if (units <= 0) {
            output += '?';
            return;
        }
        char narrow[4];
        BOOL replaced = FALSE;
        const int bytes = ::WideCharToMultiByte(kWindows1252, WC_NO_BEST_FIT_CHARS, wide, units, narrow,
                                                sizeof narrow, "?", &replaced);
        output += bytes == 1 && !replaced ? narrow[0] : '?';
    }

    UINT m_codePage;
};

} // namespace

std::unique_ptr<const CodePageConverter> CodePageConverter::open(int codePage) {
    CPINFO info{};
    if (codePage <= 0 || !::GetCPInfo(static_cast<UINT>(codePage), &info)) {
        return nullptr;
    }
    return std::make_unique<WindowsConverter>(static_cast<UINT>(codePage));
}

} // namespace kalvian
