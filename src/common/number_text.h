#pragma once

#include <cstddef>
#include <span>
#include <string>

namespace kalvian {

// The shortest general decimal form with up to 15 significant digits: "." as decimal point, no thousands
// separator, and an exponent ("E", a sign only when negative, no leading zeros) when the value has more
// than 15 integer digits or is below 0.0001 in magnitude: 1.5, 12345678901, 1E18, 1.5E-7. Infinite and
// undefined values read "INF", "-INF" and "NAN".
std::string formatGeneral(double value);

// Room enough for any such text.
inline constexpr std::size_t kGeneralTextRoom = 32;
// The same text written into `out`; returns its length.
std::size_t writeGeneral(double value, std::span<char, kGeneralTextRoom> out);

} // namespace kalvian
