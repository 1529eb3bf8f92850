#include "run/background_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace kalvian {
namespace {

TEST(BackgroundWriter, PassesEverythingOnInOrderAndTheSameFewBuffersGoRound) {
    // What was passed on, a piece at a time by its size and its letter: quick, so buffers come back soon.
    std::vector<std::pair<std::size_t, char>> passed;
    BackgroundWriter writer(
        [&](const std::string& lines) { passed.emplace_back(lines.size(), lines.back()); });
    std::vector<std::pair<std::size_t, char>> handed;
    std::string lines;
    std::size_t largestRoom = 0;
    for (int i = 0; i < 2000; ++i) {
        const auto letter = static_cast<char>('a' + i % 26);
        lines.append(50000 + static_cast<std::size_t>(i) * 7919 % 50000, letter);
        handed.emplace_back(lines.size(), letter);
        largestRoom = std::max(largestRoom, lines.capacity());
        writer.hand(lines);
        EXPECT_TRUE(lines.empty());
    }
    lines = "fim";
    writer.hand(lines);
    writer.finish();
    handed.emplace_back(3, 'm');
    EXPECT_EQ(passed, handed);
    // Buffers given back are filled again as they are, and grow no further than the lines ask.
    EXPECT_LE(largestRoom, 2 * 100000u);
}

TEST(BackgroundWriter, AFailureToPassLinesOnReachesTheCallerAndStopsThePassing) {
    // The first pieces are passed on in the calling thread, the later ones in the writer's own.
    for (const int failing : {0, 5}) {
        int passed = 0;
        BackgroundWriter writer([&](const std::string&) {
            if (passed++ == failing) {
                throw std::runtime_error("Disk full");
            }
        });
        std::string message;
        try {
            std::string lines;
            for (int i = 0; i < 50; ++i) {
                lines.assign(300000, 'E');
                writer.hand(lines);
            }
            writer.finish();
        } catch (const std::runtime_error& error) {
            message = error.what();
        }
        EXPECT_EQ(message, "Disk full") << failing;
        EXPECT_EQ(passed, failing + 1) << failing;
    }
}

} // namespace
} // namespace kalvian
