#include "file_name.h"

#include "common/date_format.h"
#include "common/trim.h"

namespace kalvian {

namespace {

// The registration as it can stand in a file name: every folder separator and control character (C0, DEL,
// and C1 in its two-byte UTF-8 form) becomes "_", so the name never leads into another folder.
std::string plainName(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (byte == '/' || byte == '\\' || byte < 0x20 || byte == 0x7F || c1) {
            name += '_';
            i += c1 ? 1 : 0;
        } else {
            name += text[i];
        }
    }
    return name;
}

} // namespace

std::string NomeArquivoPadrao(std::string_view registration, Period period) {
    std::string name = "VRK3_";
    name += plainName(trimBlanks(registration));
    name += "__" + formatDate(period.start.serial, '_') + "__" + formatDate(period.end.serial, '_') + ".txt";
    return name;
}

} // namespace kalvian
