#include "file_name.h"

#include "common/ascii_case.h"
#include "common/date_format.h"
#include "common/trim.h"

#include <array>

namespace kalvian {

namespace {

constexpr std::string_view kRefusedByWindows = "<>:\"/\\|?*";

bool refusedByWindows(unsigned char byte) {
    return byte < 0x20 || kRefusedByWindows.find(static_cast<char>(byte)) != std::string_view::npos;
}

// The registration as it can stand in a file name: every character Windows refuses, DEL, and C1 controls in
// their two-byte UTF-8 form become "_", so the name never leads into another folder and is never refused.
std::string plainName(std::string_view text) {
    std::string name;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        const bool c1 = byte == 0xC2 && i + 1 < text.size() &&
                        static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                        static_cast<unsigned char>(text[i + 1]) <= 0x9F;
        if (refusedByWindows(byte) || byte == 0x7F || c1) {
            name += '_';
            i += c1 ? 1 : 0;
        } else {
            name += text[i];
        }
    }
    return name;
}

// Windows opens the device whatever follows the first dot, and whatever blanks end the part before it. The
// superscript digits (UTF-8) count as digits there.
bool reservedDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') {
        base.remove_suffix(1);
    }
    static constexpr std::array<std::string_view, 6> kDevices = {"CON", "PRN",    "AUX",
                                                                 "NUL", "CONIN$", "CONOUT$"};
    for (const std::string_view device : kDevices) {
        if (equalsIgnoringAsciiCase(base, device)) {
            return true;
        }
    }
    static constexpr std::array<std::string_view, 3> kSuperscripts = {"\xC2\xB9", "\xC2\xB2", "\xC2\xB3"};
    for (const std::string_view port : {std::string_view("COM"), std::string_view("LPT")}) {
        if (base.size() < 4 || !equalsIgnoringAsciiCase(base.substr(0, 3), port)) {
            continue;
        }
        const std::string_view number = base.substr(3);
        if (number.size() == 1 && number[0] >= '0' && number[0] <= '9') {
            return true;
        }
        for (const std::string_view superscript : kSuperscripts) {
            if (number == superscript) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

std::string NomeArquivoPadrao(std::string_view registration, Period period) {
    std::string name = "VRK3_";
    name += plainName(trimBlanks(registration));
    name += "__" + formatDate(period.start.serial, '_') + "__" + formatDate(period.end.serial, '_') + ".txt";
    return name;
}

std::optional<std::string> windowsNameFault(std::string_view name) {
    const std::string quoted = "O nome \"" + std::string(name) + "\"";
    for (const char ch : name) {
        const auto byte = static_cast<unsigned char>(ch);
        if (byte < 0x20) {
            return quoted + " tem um caractere de controle, que o Windows não aceita em nomes de arquivo";
        }
        if (refusedByWindows(byte)) {
            return quoted + " tem o caractere " + ch + ", que o Windows não aceita em nomes de arquivo";
        }
    }
    if (!name.empty() && (name.back() == '.' || name.back() == ' ')) {
        return quoted + " termina em ponto ou espaço, que o Windows tira do nome ao gravar o arquivo";
    }
    if (reservedDeviceName(name)) {
        return quoted + " é reservado pelo Windows para um dispositivo e não pode ser nome de arquivo";
    }
    return std::nullopt;
}

} // namespace kalvian
