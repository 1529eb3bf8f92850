#include "fixed_width.h"

#include <cstring>

namespace kalvian {

void placeOverFill(std::span<char> field, std::string_view value, Justify justify) {
    const KeptText kept = keptText(value.size(), field.size(), [&](std::size_t at) { return value[at]; });
    std::memcpy(keptPlace(field, kept.length, justify), value.data() + kept.start, kept.length);
}

} // namespace kalvian
