#include "paradox/consistent_reading.h"

#include "paradox/table_error.h"

#include <thread>

namespace kalvian::paradox {

Table readAtOneMoment(const std::string& path, const std::function<void(const Table&)>& read,
                      const Rereading& rule) {
    for (int reading = 1;; ++reading) {
        try {
            Table table = Table::open(path);
            read(table);
            return table;
        } catch (const TableChanged&) {
            if (reading >= rule.readings) {
                throw;
            }
        }
        std::this_thread::sleep_for(rule.pause);
    }
}

} // namespace kalvian::paradox
