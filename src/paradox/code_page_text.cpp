#include "paradox/code_page_text.h"

namespace kalvian::paradox {

namespace {

constexpr int kWindows1252 = 1252;

} // namespace

std::optional<CodePageText> CodePageText::forCodePage(int codePage) {
    if (codePage == kWindows1252) {
        // Already the target: every byte passes as it is, the five that Windows-1252 leaves without a
        // character (0x81, 0x8D, 0x8F, 0x90, 0x9D) included, though the system's converters refuse those.
        CodePageText text(codePage);
        for (int byte = 0; byte < 256; ++byte) {
            text.m_table[static_cast<std::size_t>(byte)] = static_cast<char>(byte);
        }
        text.m_asciiUnchanged = true;
        return text;
    }
    std::shared_ptr<const CodePageConverter> converter = CodePageConverter::open(codePage);
    if (!converter) {
        return std::nullopt;
    }
    CodePageText text(codePage);
    for (int byte = 0; byte < 256; ++byte) {
        const char single = static_cast<char>(byte);
        bool complete = true;
        const std::string converted = converter->toWindows1252(std::string_view(&single, 1), complete);
        if (!complete) {
            text.m_multiByte = std::move(converter);
            break;
        }
        text.m_table[static_cast<std::size_t>(byte)] = converted.size() == 1 ? converted[0] : '?';
    }
    text.m_asciiUnchanged = !text.m_multiByte;
    for (int byte = 0; byte < 128; ++byte) {
        text.m_asciiUnchanged = text.m_asciiUnchanged && text.m_table[static_cast<std::size_t>(byte)] == byte;
    }
    return text;
}

std::string CodePageText::toWindows1252(std::span<const std::byte> text) const {
    if (m_multiByte) {
        bool complete = true;
        return m_multiByte->toWindows1252(
            std::string_view(reinterpret_cast<const char*>(text.data()), text.size()), complete);
    }
    std::string result(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        result[i] = m_table[static_cast<std::size_t>(text[i])];
    }
    return result;
}

} // namespace kalvian::paradox
