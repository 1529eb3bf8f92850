#include "fill.h"

#include "common/trim.h"

#include <algorithm>

namespace kalvian {

namespace {

std::string_view trimmedAndCut(std::string_view value, int width) {
    return trimBlanks(value).substr(0, static_cast<std::size_t>(std::max(width, 0)));
}

std::size_t fillCount(std::string_view kept, int width) {
    return static_cast<std::size_t>(std::max(width, 0)) - kept.size();
}

} // namespace

void appendPreencheDireita(std::string& line, std::string_view value, int width, char fill) {
    const std::string_view kept = trimmedAndCut(value, width);
    line += kept;
    line.append(fillCount(kept, width), fill);
}

std::string PreencheEsquerda(std::string_view value, int width, char fill) {
    const std::string_view kept = trimmedAndCut(value, width);
    return std::string(fillCount(kept, width), fill).append(kept);
}

std::string PreencheDireita(std::string_view value, int width, char fill) {
    std::string text;
    appendPreencheDireita(text, value, width, fill);
    return text;
}

} // namespace kalvian
