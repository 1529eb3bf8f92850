#include "vrk3/registration_text.h"

#include <charconv>
#include <cmath>

namespace kalvian {

std::string registrationText(double registration) {
    // The longest whole double has 309 digits.
    char buffer[400];
    const bool whole = std::trunc(registration) == registration;
    const auto written =
        whole ? std::to_chars(buffer, buffer + sizeof buffer, registration, std::chars_format::fixed, 0)
              : std::to_chars(buffer, buffer + sizeof buffer, registration, std::chars_format::general);
    return std::string(buffer, written.ptr);
}

} // namespace kalvian
