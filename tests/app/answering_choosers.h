#pragma once

#include "app/file_choosers.h"

#include <optional>
#include <vector>

namespace kalvian::test {

// The window's file dialogs for tests: records what each was opened with and confirms the path set for it
// (or cancels when there is none).
class AnsweringChoosers : public FileChoosers {
public:
    std::vector<FileRequest> opened;
    std::vector<FileRequest> saved;
    std::optional<QString> openAnswer;
    std::optional<QString> saveAnswer;

    std::optional<QString> openFile(const FileRequest& request) override {
        opened.push_back(request);
        return openAnswer;
    }
    std::optional<QString> saveFile(const FileRequest& request) override {
        saved.push_back(request);
        return saveAnswer;
    }
};

} // namespace kalvian::test
