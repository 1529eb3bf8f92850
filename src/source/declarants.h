#pragma once

#include <string_view>
#include <vector>

namespace kalvian {

// Every registration number (INSMUN) that has an issued or a received invoice dated within the period, in
// ascending order, read from the folder's DSEMI and DSREC tables.
std::vector<double> declarantsInPeriod(std::string_view folder, double start, double end);

} // namespace kalvian
