#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kalvian {

// The warning for a folder that holds the database engine's lock files: VRK 3 seems to have its tables
// open (or has them open now, where the system tells), so invoices typed last may not be in the files yet.
// Nothing for a folder without lock files.
std::optional<std::string> sourceInUseWarning(std::string_view folder);

} // namespace kalvian
