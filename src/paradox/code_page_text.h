#pragma once

#include "common/fixed_width.h"
#include "platform/code_page_converter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace kalvian::paradox {

// Converts text stored in a DOS or Windows code page to Windows-1252. A character with no Windows-1252
// form, or a byte sequence that is not valid in the source code page, becomes "?". Text stored in
// Windows-1252 itself passes byte for byte.
// Copies of one converter share the system's converter of a multi-byte code page: use them from one thread.
class CodePageText {
public:
    // Nothing when the system does not know the code page.
    static std::optional<CodePageText> forCodePage(int codePage);

    int codePage() const { return m_codePage; }
    std::string toWindows1252(std::span<const std::byte> text) const;
    // Writes the kept text of a fixed-width field (placeOverFill) of the converted text over `field`, which
    // holds its fill already, without a string of its own in between.
    void placeOverFill(std::span<char> field, std::span<const std::byte> text, Justify justify) const;

private:
    explicit CodePageText(int codePage) : m_codePage(codePage) {}

    int m_codePage = 0;
    // Single-byte code pages (all the DOS and Windows ones) convert through this table, built once with
    // the system's converter; multi-byte ones (936 and the like) keep that converter for every call.
    std::array<char, 256> m_table{};
    // Whether the table leaves the bytes below 128 as they are, as the DOS and Windows code pages do: runs of
    // them are then copied, not looked up.
    bool m_asciiUnchanged = false;
    std::shared_ptr<const CodePageConverter> m_multiByte;
};

// In line: most fields of every export line pass here.
inline void CodePageText::placeOverFill(std::span<char> field, std::span<const std::byte> text,
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
    constexpr std::uint64_t kHighBits = 0x8080808080808080u;
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
