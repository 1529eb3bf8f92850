#pragma once

#include "source/table.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvian::paradox::test {

// A file of the shared real sample tables.
std::filesystem::path samplePath(std::string_view relative);

// Every row of a table, its fields shown as displayField does ("NULL" for NULL) and joined with "|".
std::vector<std::string> readRows(const Table& table);

// The kalvian::Error message the action raises; "" when it raises none.
std::string errorOf(const std::function<void()>& action);

// A fresh folder under the system's temporary folder, removed with its content at the end of the test.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    std::filesystem::path file(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace kalvian::paradox::test
