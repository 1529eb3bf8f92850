#pragma once

#include "common/date_serial.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvian {

// "VRK3_<registration, trimmed>__dd_mm_yyyy__dd_mm_yyyy.txt" for the period's start and end serials.
// Separators, control characters and the other characters Windows refuses in names become "_": the name is
// always a plain file name that any Windows takes.
std::string NomeArquivoPadrao(std::string_view registration, Period period);

// What is wrong, in Portuguese, with a file name that Windows cannot hold as typed: a device name it
// reserves (CON, PRN, AUX, NUL, COM1-9, LPT1-9, in any case, with or without an extension), a final dot or
// blank (which it drops), or a character it refuses (< > : " / \ | ? * and control characters). Nothing
// when the name is fine. The export file goes to a Windows machine, often on a stick written elsewhere, so
// every system holds names to this.
std::optional<std::string> windowsNameFault(std::string_view name);

} // namespace kalvian
