#include "start_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kalvian {

QString startFolder(const QString& current, const QString& programFolder, const QString& documents) {
    // Compared as the file system compares names: without regard to case on Windows, links resolved.
    return QFileInfo(current) == QFileInfo(programFolder) ? documents : current;
}

QString startFolder() {
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (documents.isEmpty() || !QFileInfo(documents).isDir()) {
        documents = QDir::homePath();
    }
    return startFolder(QDir::currentPath(), QCoreApplication::applicationDirPath(), documents);
}

} // namespace kalvian
