#include "support/posix/fuse_mount.h"

#include "support/posix/child_process.h"
#include "support/temp_folder.h"

#include <unistd.h>

namespace kalvian::test {

namespace {

namespace fs = std::filesystem;

constexpr std::uintmax_t kImageSize = 64 * 1024 * 1024;

} // namespace

FuseMount::FuseMount(Kind kind, const fs::path& scratch) : m_kind(kind), m_mountPoint(scratch / "pendrive") {
    if (::geteuid() != 0) {
        m_failure = "mounting a FAT32 or exFAT image through FUSE needs root";
        return;
    }
    if (::access("/dev/fuse", R_OK | W_OK) != 0) {
        m_failure = "/dev/fuse is missing or closed: FUSE file systems cannot be mounted here";
        return;
    }
    fs::create_directory(m_mountPoint);
    const fs::path image = scratch / "pendrive.img";
    writeFile(image, "");
    fs::resize_file(image, kImageSize);
    if (kind == Kind::Fat32) {
        mountFat32(image);
    } else {
        mountExfat(image);
    }
}

FuseMount::~FuseMount() {
    if (m_mounted) {
        // A lazy unmount should the plain one find the file system busy: no mount outlives the test.
        if (m_kind == Kind::Fat32 ? !run("/usr/bin/fusermount", {"-u", m_mountPoint})
                                  : !run("/usr/bin/umount", {m_mountPoint})) {
            run("/usr/bin/umount", {"-l", m_mountPoint});
        }
    }
    if (!m_loopDevice.empty()) {
        run("/usr/sbin/losetup", {"-d", m_loopDevice});
    }
}

bool FuseMount::run(const std::string& program, const std::vector<std::string>& arguments, std::string* out) {
    std::vector<std::string> line = {program};
    line.insert(line.end(), arguments.begin(), arguments.end());
    const ProcessEnd end = runProgram({line, {}, {"PATH=/usr/sbin:/usr/bin:/sbin:/bin", "LC_ALL=C"}});
    if (end.exitCode != 0) {
        m_failure = program + " failed (exit " + std::to_string(end.exitCode) + "; is it installed? " +
                    "scripts/install-deps installs it): " + end.err;
        return false;
    }
    if (out != nullptr) {
        *out = end.out;
    }
    return true;
}

void FuseMount::mountFat32(const fs::path& image) {
    // Without rw+ fusefat mounts read-only; its writing is marked experimental, as office machines meet it.
    m_mounted = run("/usr/sbin/mkfs.vfat", {"-F", "32", image}) &&
                run("/usr/bin/fusefat", {"-o", "rw+", image, m_mountPoint});
}

void FuseMount::mountExfat(const fs::path& image) {
    std::string device;
    if (!run("/usr/sbin/mkfs.exfat", {image}) ||
        !run("/usr/sbin/losetup", {"--find", "--show", image}, &device)) {
        return;
    }
    m_loopDevice = device.substr(0, device.find('\n'));
    m_mounted = run("/usr/sbin/mount.exfat-fuse", {m_loopDevice, m_mountPoint});
}

} // namespace kalvian::test
