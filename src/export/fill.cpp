#include "fill.h"

#include "common/trim.h"

#include <algorithm>

namespace kalvian {

namespace {

std::string_view trimmedAndCut(std::string_view value, int width) {
    return trimBlanks(value).substr(0, static_cast<std::size_t>(std::max(width, 0)));
}

} // namespace

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
