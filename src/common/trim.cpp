#include "trim.h"

namespace kalvian {

namespace {

bool isBlankOrControl(char ch) {
    return static_cast<unsigned char>(ch) <= 32;
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

} // namespace kalvian
