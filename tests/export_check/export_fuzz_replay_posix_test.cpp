// Replays what the export file fuzzer is seeded with, and every input it found a fault with, through the
// fuzzing entry, under the sanitizers of the asan preset. No fuzzing happens here. The entry hands the bytes
// to --conferir's reader as a Linux memory file, as the fuzzer (built on Linux alone) does.
#include "export_file_entry.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kalvian {
namespace {

namespace fs = std::filesystem;

TEST(ExportFuzzReplayPosix, SoundFilesAreAcceptedAndDamagedOnesRefused) {
    const fs::path corpus = fs::path(KALVIAN_SOURCE_DIR) / "fuzz/export-corpus";
    const struct {
        fs::path folder;
        bool accepted;
        std::size_t atLeast;
    } seeds[] = {
        {fs::path(KALVIAN_TEST_DATA_DIR) / "cli/demo", true, 3},
        {fs::path(KALVIAN_TEST_DATA_DIR) / "export", true, 1},
        {corpus / "sound", true, 4},
        {corpus / "damaged", false, 8},
    };
    for (const auto& seed : seeds) {
        std::size_t files = 0;
        for (const auto& entry : fs::directory_iterator(seed.folder)) {
            const std::string bytes = test::readFile(entry.path());
            EXPECT_EQ(
                readExportFileForFuzzing(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
                seed.accepted)
                << entry.path();
            ++files;
        }
        EXPECT_GE(files, seed.atLeast) << seed.folder;
    }
}

} // namespace
} // namespace kalvian
