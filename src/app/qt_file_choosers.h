#pragma once

#include "app/file_choosers.h"

class QWidget;

namespace kalvian {

// The two file dialogs as real modal QFileDialog windows over the owner.
class QtFileChoosers : public FileChoosers {
public:
    explicit QtFileChoosers(QWidget* owner) : m_owner(owner) {}

    std::optional<QString> openFile(const FileRequest& request) override;
    std::optional<QString> saveFile(const FileRequest& request) override;

private:
    QWidget* m_owner = nullptr;
};

} // namespace kalvian
