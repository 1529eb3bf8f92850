#pragma once

#include "common/fixed_width.h"
#include "platform/code_page_converter.h"

#include <array>
#include <cstddef>
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

} // namespace kalvian::paradox
