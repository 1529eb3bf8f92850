#include "paradox/code_page_text.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <vector>

namespace kalvian::paradox {

namespace {

constexpr int kWindows1252 = 1252;
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

} // namespace

// Through UTF-32 so that an invalid source byte and an unrepresentable character are each replaced once.
class CodePageText::Converter {
public:
    explicit Converter(int codePage)
        : m_toWide(openIconv(kWide, iconvName(codePage))), m_fromWide(openIconv(kTarget, kWide)) {}

    bool valid() const { return m_toWide && m_fromWide; }

    // complete turns false when the input ends inside a multi-byte character.
    std::string convert(std::string_view input, bool& complete) const {
        std::string wide;
        const char replacementChar[kWideChar] = {'?', 0, 0, 0};
        complete =
            convertReplacing(m_toWide.get(), input, 1, std::string_view(replacementChar, kWideChar), wide);
        std::string narrow;
        convertReplacing(m_fromWide.get(), wide, kWideChar, "?", narrow);
        return narrow;
    }

private:
    IconvHandle m_toWide;
    IconvHandle m_fromWide;
};

std::optional<CodePageText> CodePageText::forCodePage(int codePage) {
    if (codePage == kWindows1252) {
        // Already the target: every byte passes as it is, the five that Windows-1252 leaves without a
        // character (0x81, 0x8D, 0x8F, 0x90, 0x9D) included, though iconv refuses those.
        CodePageText text(codePage);
        for (int byte = 0; byte < 256; ++byte) {
            text.m_table[static_cast<std::size_t>(byte)] = static_cast<char>(byte);
        }
        return text;
    }
    auto converter = std::make_shared<const Converter>(codePage);
    if (!converter->valid()) {
        return std::nullopt;
    }
    CodePageText text(codePage);
    for (int byte = 0; byte < 256; ++byte) {
        const char single = static_cast<char>(byte);
        bool complete = true;
        const std::string converted = converter->convert(std::string_view(&single, 1), complete);
        if (!complete) {
            text.m_multiByte = std::move(converter);
            break;
        }
        text.m_table[static_cast<std::size_t>(byte)] = converted.size() == 1 ? converted[0] : '?';
    }
    return text;
}

std::string CodePageText::toWindows1252(std::span<const std::byte> text) const {
    if (m_multiByte) {
        bool complete = true;
        return m_multiByte->convert(std::string_view(reinterpret_cast<const char*>(text.data()), text.size()),
                                    complete);
    }
    std::string result(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        result[i] = m_table[static_cast<std::size_t>(text[i])];
    }
    return result;
}

} // namespace kalvian::paradox
