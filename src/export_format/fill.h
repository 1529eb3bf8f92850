#pragma once

#include <string>
#include <string_view>

namespace kalvian {

// Both rules first drop leading and trailing blanks and control characters (byte codes 32 and below), keep
// at most the first `width` bytes, then fill up to exactly `width` bytes.

// Right-justified field: the fill goes in front.
std::string PreencheEsquerda(std::string_view value, int width, char fill);

// Left-justified field: the fill goes behind.
std::string PreencheDireita(std::string_view value, int width, char fill);

// The left-justified rule, appending the field to a line being built.
void appendPreencheDireita(std::string& line, std::string_view value, int width, char fill);

} // namespace kalvian
