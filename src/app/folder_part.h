#pragma once

#include <QString>

namespace kalvian {

// The folder of a path up to and including its last folder separator; empty when the path has none.
QString folderPart(const QString& path);

} // namespace kalvian
