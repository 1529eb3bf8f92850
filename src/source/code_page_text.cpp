#include "source/code_page_text.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <vector>

namespace kalvian::paradox {

namespace {

constexpr char kTarget[] = "CP1252";
constexpr char kWide[] = "UTF-32LE";
constexpr std::size_t kWideChar = 4;

std::string iconvName(int codePage) {
    return "CP" + std::to_string(codePage);
}

struct IconvCloser {
    void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};
using IconvHandle = std::unique_ptr<void, IconvCloser>;

IconvHandle openIconv(const std::string& to, const std::string& from) {
    const iconv_t handle = iconv_open(to.c_str(), from.c_str());
    if (handle == reinterpret_cast<iconv_t>(-1)) {
        return nullptr;
    }
    return IconvHandle(handle);
}

// Converts as much as it can; an input unit iconv rejects is replaced and skipped (skip bytes). Returns
// false when the input ends inside an incomplete character, which is replaced too.
bool convertReplacing(void* handle, std::string_view input, std::size_t skip, std::string_view replacement,
                      std::string& output) {
    auto* const cd = static_cast<iconv_t>(handle);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::vector<char> buffer(input.size() * kWideChar + 16);
    bool complete = true;
    while (inLeft > 0) {
        char* out = buffer.data();
        std::size_t outLeft = buffer.size();
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        output.append(buffer.data(), out);
        if (result != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno == E2BIG) {
            continue;
        }
        output.append(replacement);
        if (errno == EINVAL) {
            complete = false;
            break;
        }
        const std::size_t step = std::min(skip, inLeft);
        in += step;
        inLeft -= step;
    }
    return complete;
}

// Through UTF-32 so that an invalid source byte and an unrepresentable character are each replaced once.
std::optional<std::string> convertThroughWide(int codePage, std::string_view input, bool& complete) {
    const IconvHandle toWide = openIconv(kWide, iconvName(codePage));
    const IconvHandle fromWide = openIconv(kTarget, kWide);
    if (!toWide || !fromWide) {
        return std::nullopt;
    }
    std::string wide;
    const char replacementChar[kWideChar] = {'?', 0, 0, 0};
    complete = convertReplacing(toWide.get(), input, 1, std::string_view(replacementChar, kWideChar), wide);
    std::string narrow;
    convertReplacing(fromWide.get(), wide, kWideChar, "?", narrow);
    return narrow;
}

} // namespace

std::optional<CodePageText> CodePageText::forCodePage(int codePage) {
    CodePageText converter(codePage);
    for (int byte = 0; byte < 256; ++byte) {
        const char single = static_cast<char>(byte);
        bool complete = true;
        const std::optional<std::string> converted =
            convertThroughWide(codePage, std::string_view(&single, 1), complete);
        if (!converted) {
            return std::nullopt;
        }
        if (!complete) {
            converter.m_singleByte = false;
            break;
        }
        converter.m_table[static_cast<std::size_t>(byte)] = converted->size() == 1 ? (*converted)[0] : '?';
    }
    return converter;
}

std::string CodePageText::toWindows1252(std::span<const std::byte> text) const {
    if (m_singleByte) {
        std::string result(text.size(), '\0');
        for (std::size_t i = 0; i < text.size(); ++i) {
            result[i] = m_table[static_cast<std::size_t>(text[i])];
        }
        return result;
    }
    bool complete = true;
    return convertThroughWide(m_codePage,
                              std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                              complete)
        .value_or(std::string());
}

} // namespace kalvian::paradox
