#include "fixed_width.h"

#include <cstring>

namespace kalvian {

void placeFixedWidth(std::span<char> field, std::string_view value, char fill, Justify justify) {
    std::memset(field.data(), fill, field.size());
    placeOverFill(field, value, justify);
}

void placeOverFill(std::span<char> field, std::string_view value, Justify justify) {
    const KeptText kept = keptText(value.size(), field.size(), [&](std::size_t at) { return value[at]; });
    std::memcpy(keptPlace(field, kept.length, justify), value.data() + kept.start, kept.length);
}

} // namespace kalvian
