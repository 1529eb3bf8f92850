#pragma once

#include <QString>

namespace kalvian {

// The user guide, one HTML page with its pictures, where the program's installation keeps it: beside the
// program (Windows, the portable folder, the build tree) or in the system's documentation folder
// (share/doc/kalvian beside bin). The first of those that exists; the first of them when none does.
QString userGuideFile(const QString& programFolder);

} // namespace kalvian
