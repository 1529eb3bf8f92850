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

// A message as the error box shows it: with a period appended when its last character has a code above that
// of "." (texts ending in a letter or a digit get one; texts ending in ".", ")", a blank or a line break
// do not).
std::string withFinalPeriod(std::string message);

} // namespace kalvian
