#include "support/temp_folder.h"

#include <random>
#include <stdexcept>

namespace kalvian::test {

TempFolder::TempFolder() {
    // A name no other folder bears: create_directory says false when one does.
    static std::mt19937_64 random{std::random_device{}()};
    const std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path path =
            base / ("kalvian-test-" + std::to_string(random() % 1000000000000));
        if (std::filesystem::create_directory(path)) {
            // Only its owner may enter it, as mkdtemp makes it.
            std::filesystem::permissions(path, std::filesystem::perms::owner_all);
            m_path = path;
            return;
        }
    }
    throw std::runtime_error("no free name for a temporary folder in " + base.string());
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, ignored);
    std::filesystem::remove_all(m_path, ignored);
}

} // namespace kalvian::test
