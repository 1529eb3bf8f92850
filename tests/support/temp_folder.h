#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace kalvian::test {

// A fresh folder under the system's temporary folder, removed with everything in it.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// The names in a folder, sorted.
inline std::vector<std::string> namesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Removes what a folder holds, keeping the folder: Windows may hold the folder a program ran in for a moment
// after the program ends, and a folder held so cannot be removed.
inline void emptyFolder(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::filesystem::remove_all(entry.path());
    }
}

inline std::string readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Every file of a folder, sorted: its name, size, modification time and bytes, what a reader of the folder
// must leave as they were.
inline std::vector<std::string> folderState(const std::filesystem::path& folder) {
    std::vector<std::string> state;
    for (const std::string& name : namesIn(folder)) {
        const std::filesystem::path file = folder / name;
        state.push_back(name + " " + std::to_string(std::filesystem::file_size(file)) + " " +
                        std::to_string(std::filesystem::last_write_time(file).time_since_epoch().count()) +
                        " " + readFile(file));
    }
    return state;
}

} // namespace kalvian::test
