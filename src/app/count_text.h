#pragma once

#include <QString>

#include <cstdint>

namespace kalvian {

// A count (never negative) in the number format "###,###,##0;0; ": digits grouped by threes with the locale's
// thousands separator, and a single blank for zero.
QString formatCount(std::int64_t count, const QString& groupSeparator);

} // namespace kalvian
