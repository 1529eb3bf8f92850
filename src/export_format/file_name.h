#pragma once

#include "common/date_serial.h"

#include <string>
#include <string_view>

namespace kalvian {

// "VRK3_<registration, trimmed>__dd_mm_yyyy__dd_mm_yyyy.txt" for the period's start and end serials.
// Separators and control characters of the registration become "_": the name is always a plain file name.
std::string NomeArquivoPadrao(std::string_view registration, Period period);

} // namespace kalvian
