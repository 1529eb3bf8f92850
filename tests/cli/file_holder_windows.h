#pragma once

#include <filesystem>
#include <string>

namespace kalvian::test {

// Another program (kalvian_hold_file) holding a file open, in the access and sharing modes given as its
// letters; it lets the file go when this goes away.
class FileHolder {
public:
    FileHolder(const std::filesystem::path& file, const std::string& access, const std::string& share);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;

    // True once it holds the file (false when it could not open it).
    bool holding() const { return m_holding; }

private:
    void* m_process = nullptr;
    void* m_input = nullptr;
    bool m_holding = false;
};

} // namespace kalvian::test
