#pragma once

#include <filesystem>

namespace kalvian::test {

// True while this test program holds the file open (on Windows: while anything holds it open, which in a
// test that starts no other program is the test itself).
bool heldOpen(const std::filesystem::path& file);

} // namespace kalvian::test
