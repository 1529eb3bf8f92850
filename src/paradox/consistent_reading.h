#pragma once

#include "paradox/table.h"

#include <chrono>
#include <functional>
#include <string>

namespace kalvian::paradox {

// How many times a table that changes under the reader is read before it is refused, and the pause between
// two readings: long enough for the database engine to finish writing what it writes at once.
struct Rereading {
    int readings = 4;
    std::chrono::milliseconds pause{250};
};

// Opens the table file and hands it to `read`, which takes from it what it needs. A reading during which
// the file's header, size or time moved is dropped, and the table opened and read again after a pause;
// after the last reading the change is the failure (TableChanged). Any other failure ends it at once.
// Returns the table of the reading that saw one moment.
Table readAtOneMoment(const std::string& path, const std::function<void(const Table&)>& read,
                      const Rereading& rule = {});

} // namespace kalvian::paradox
