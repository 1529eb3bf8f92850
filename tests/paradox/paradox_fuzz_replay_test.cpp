// Replays what the fuzzer is seeded with, and every input it ever found a fault with, through the fuzzing
// entry, under the sanitizers of the asan preset. No fuzzing happens here.
#include "paradox_table_entry.h"
#include "paradox_test_support.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace kalvian::paradox {
namespace {

std::vector<std::filesystem::path> filesUnder(const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

bool replay(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return readTableForFuzzing(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

std::string lowerExtension(const std::filesystem::path& file) {
    std::string extension = file.extension().string();
    for (char& ch : extension) {
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    }
    return extension;
}

TEST(FuzzReplay, RealSamplesAreReadOrRefusedAsExpected) {
    const std::vector<std::filesystem::path> files = filesUnder(test::samplePath(""));
    ASSERT_GE(files.size(), 33u);
    for (const std::filesystem::path& file : files) {
        // Every unencrypted .db is a table; memo files, indexes, encrypted tables and notes are refused.
        const bool table = lowerExtension(file) == ".db" && file.parent_path().filename() != "encrypt";
        EXPECT_EQ(replay(file), table) << file;
    }
}

TEST(FuzzReplay, WriterSeedsAreRead) {
    const std::vector<std::filesystem::path> files =
        filesUnder(std::filesystem::path(KALVIAN_SOURCE_DIR) / "fuzz" / "corpus");
    ASSERT_GE(files.size(), 4u);
    for (const std::filesystem::path& file : files) {
        EXPECT_TRUE(replay(file)) << file;
    }
}

} // namespace
} // namespace kalvian::paradox
