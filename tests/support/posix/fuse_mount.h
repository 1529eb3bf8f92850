#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kalvian::test {

// A USB stick as an office's machine mounts it: a FAT32 or exFAT file system in an image file under
// `scratch`, mounted through FUSE (FAT32 by fusefat, exFAT by exfat-fuse over a loop device). Unmounted,
// and its loop device detached, when it goes away. It needs root, /dev/fuse, the packages
// scripts/install-deps installs and, for exFAT, a free loop device; failure() says which one is missing.
class FuseMount {
public:
    enum class Kind { Fat32, Exfat };

    FuseMount(Kind kind, const std::filesystem::path& scratch);
    ~FuseMount();

    FuseMount(const FuseMount&) = delete;
    FuseMount& operator=(const FuseMount&) = delete;

    // Where the file system is mounted.
    const std::filesystem::path& path() const { return m_mountPoint; }
    // Why it could not be mounted; empty once it is.
    const std::string& failure() const { return m_failure; }

private:
    // Runs a system program to its end; false, with the reason kept in m_failure, when it fails.
    bool run(const std::string& program, const std::vector<std::string>& arguments,
             std::string* out = nullptr);
    void mountFat32(const std::filesystem::path& image);
    void mountExfat(const std::filesystem::path& image);

    Kind m_kind;
    std::filesystem::path m_mountPoint;
    std::string m_loopDevice;
    bool m_mounted = false;
    std::string m_failure;
};

} // namespace kalvian::test
