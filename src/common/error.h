#pragma once

#include <stdexcept>
#include <string>

namespace kalvian {

// The one failure type of the program. Its text is the message the user reads, exactly as shown in the
// window's error box or on the command line's stderr (UTF-8).
class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

} // namespace kalvian
