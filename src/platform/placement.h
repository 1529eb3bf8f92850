#pragma once

namespace kalvian {

// How a finished file takes its name: only while no file bears it, or in place of the one that does.
enum class Placement { New, Replace };

} // namespace kalvian
