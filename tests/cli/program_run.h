#pragma once

#include "support/run_program.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace kalvian::test {

// The words of a command line as a POSIX shell splits it: blanks between words, '...' and "..." quoting
// (an empty pair is an empty word).
inline std::vector<std::string> shellWords(std::string_view line) {
    std::vector<std::string> words;
    std::string word;
    bool inWord = false;
    for (std::size_t at = 0; at < line.size(); ++at) {
        const char ch = line[at];
        if (ch == '\'' || ch == '"') {
            const std::size_t close = line.find(ch, at + 1);
            word.append(line.substr(at + 1, close - at - 1));
            at = close == std::string_view::npos ? line.size() : close;
            inWord = true;
        } else if (ch == ' ' || ch == '\t' || ch == '\n') {
            if (inWord) {
                words.push_back(std::move(word));
                word.clear();
            }
            inWord = false;
        } else {
            word += ch;
            inWord = true;
        }
    }
    if (inWord) {
        words.push_back(std::move(word));
    }
    return words;
}

// Runs kalvian-export as a user does, from `folder`, with the locale given and nothing on stdin; `arguments`
// are shell words.
inline ProcessEnd runExport(const std::string& arguments, const std::filesystem::path& folder,
                            const std::string& locale = "C") {
    std::vector<std::string> words = {KALVIAN_EXPORT_PROGRAM};
    for (std::string& word : shellWords(arguments)) {
        words.push_back(std::move(word));
    }
    return runProgram({std::move(words), folder, {"LC_ALL=" + locale, "LANG=" + locale}});
}

} // namespace kalvian::test
