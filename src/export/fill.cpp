#include "fill.h"

#include <algorithm>

namespace kalvian {

namespace {

bool isBlankOrControl(char ch) {
    return static_cast<unsigned char>(ch) <= 32;
}

std::string_view trimmedAndCut(std::string_view value, int width) {
    return trimBlanks(value).substr(0, static_cast<std::size_t>(std::max(width, 0)));
}

} // namespace

std::string_view trimBlanks(std::string_view value) {
    while (!value.empty() && isBlankOrControl(value.front())) {
        value.remove_prefix(1);
    }
    while (!value.empty() && isBlankOrControl(value.back())) {
        value.remove_suffix(1);
    }
    return value;
}

std::string PreencheEsquerda(std::string_view value, int width, char fill) {
    const std::string_view kept = trimmedAndCut(value, width);
    std::string text(static_cast<std::size_t>(std::max(width, 0)) - kept.size(), fill);
    text += kept;
    return text;
}

std::string PreencheDireita(std::string_view value, int width, char fill) {
    const std::string_view kept = trimmedAndCut(value, width);
    std::string text(kept);
    text.append(static_cast<std::size_t>(std::max(width, 0)) - kept.size(), fill);
    return text;
}

} // namespace kalvian
