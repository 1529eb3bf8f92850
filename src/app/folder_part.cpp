#include "folder_part.h"

#include <QDir>

#include <algorithm>

namespace kalvian {

QString folderPart(const QString& path) {
    const qsizetype last = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(QDir::separator()));
    return path.left(last + 1);
}

} // namespace kalvian
