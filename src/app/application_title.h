#pragma once

namespace kalvian {

// The program's title: the caption of the error box.
inline constexpr char kApplicationTitle[] = "Exportação da VRK3 para VRK4";

} // namespace kalvian
