#include "side_by_side.h"

#include <cstddef>
#include <exception>
#include <thread>
#include <vector>

namespace kalvian {

void openSideBySide(std::initializer_list<TableQuery*> queries) {
    const std::vector<TableQuery*> all(queries);
    std::vector<std::exception_ptr> failures(all.size());
    const auto open = [&](std::size_t i) {
        try {
            all[i]->open();
        } catch (...) {
            failures[i] = std::current_exception();
        }
    };
    {
        // The first query is opened here; the threads are joined on every way out of this block.
        std::vector<std::jthread> others;
        others.reserve(all.size());
        for (std::size_t i = 1; i < all.size(); ++i) {
            others.emplace_back(open, i);
        }
        if (!all.empty()) {
            open(0);
        }
    }
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (failures[i]) {
            for (std::size_t later = i + 1; later < all.size(); ++later) {
                all[later]->close();
            }
            std::rethrow_exception(failures[i]);
        }
    }
}

} // namespace kalvian
