#pragma once

#include "paradox/table.h"

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kalvian::paradox::test {

// A file of the real sample tables (tests/data/paradox-samples).
std::filesystem::path samplePath(std::string_view relative);

// Every row of a table, its fields shown as displayField does ("NULL" for NULL) and joined with "|".
std::vector<std::string> readRows(const Table& table);

// The kalvian::Error message the action raises; "" when it raises none.
std::string errorOf(const std::function<void()>& action);

} // namespace kalvian::paradox::test
