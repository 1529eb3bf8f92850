#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kalvian {

// What a file dialog is opened with, and what it remembers between uses.
struct FileRequest {
    QString title;
    QStringList filters; // "Name (pattern)" entries
    QString defaultSuffix;
    QString folder;
    QString fileName;
};

// The window's two file dialogs. Each gives the chosen path, or nothing when the user cancels.
class FileChoosers {
public:
    virtual ~FileChoosers() = default;

    virtual std::optional<QString> openFile(const FileRequest& request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest& request) = 0;
};

} // namespace kalvian
