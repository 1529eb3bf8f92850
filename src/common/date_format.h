#pragma once

#include <string>

namespace kalvian {

// "dd/mm/yyyy" with the given separator, each part zero-filled; the blank date, or a serial outside
// 01/01/0001..31/12/9999, reads "00/00/0000".
std::string formatDate(double serial, char separator);
// The same, appended to a line being built.
void appendDate(std::string& out, double serial, char separator);

} // namespace kalvian
