#pragma once

#include <string>

namespace kalvian {

// A stored registration number as text that registrationNumber() reads back as exactly that number: all
// its decimal digits when it is whole (123456789012345680, never 1.23456789012346E17), otherwise the
// shortest general form that reads back exactly (0.30000000000000004, 1e-07). Finite numbers only.
std::string registrationText(double registration);

} // namespace kalvian
