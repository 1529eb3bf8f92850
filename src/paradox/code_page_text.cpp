#include "paradox/code_page_text.h"

#include <cstdint>
#include <cstring>

namespace kalvian::paradox {

namespace {

constexpr int kWindows1252 = 1252;
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

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

void CodePageText::placeOverFill(std::span<char> field, std::span<const std::byte> text,
                                 Justify justify) const {
    if (m_multiByte) {
        kalvian::placeOverFill(field, toWindows1252(text), justify);
        return;
    }
    const auto converted = [&](std::size_t at) { return m_table[static_cast<std::size_t>(text[at])]; };
    const KeptText kept = keptText(text.size(), field.size(), converted);
    char* const to = keptPlace(field, kept.length, justify);
    const std::byte* const from = text.data() + kept.start;
    std::size_t i = 0;
    // Most words of Portuguese text hold no byte from 128 on: where the code page leaves the others as they
    // are, such a word is copied whole.
    for (; m_asciiUnchanged && i + sizeof(std::uint64_t) <= kept.length; i += sizeof(std::uint64_t)) {
        std::uint64_t word = 0;
        std::memcpy(&word, from + i, sizeof word);
        if ((word & kHighBits) == 0) {
            std::memcpy(to + i, &word, sizeof word);
            continue;
        }
        for (std::size_t j = i; j < i + sizeof word; ++j) {
            to[j] = converted(kept.start + j);
        }
    }
    for (; i < kept.length; ++i) {
        to[i] = converted(kept.start + i);
    }
}

} // namespace kalvian::paradox
