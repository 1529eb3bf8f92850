#pragma once

#include "common/fixed_width.h"

#include <string_view>

namespace kalvian {

// Drops leading and trailing blanks and control characters (byte codes 32 and below).
inline std::string_view trimBlanks(std::string_view value) {
    const KeptText kept = keptText(value.size(), value.size(), [&](std::size_t at) { return value[at]; });
    return value.substr(kept.start, kept.length);
}

} // namespace kalvian
