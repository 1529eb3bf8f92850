#pragma once

#include "paradox_writer.h"

#include <cstddef>
#include <vector>

namespace kalvian::paradox {

// A table with one field of every type the writer writes, and its rows: made up from the row number, with
// NULLs spread over every field and Windows-1252 text that code page 850 can also hold. Used for round
// trips in tests and as fuzzing seeds.
TableLayout demoLayout(int level, int codePage, int blockSize);
std::vector<WriterValue> demoRow(std::size_t index);

} // namespace kalvian::paradox
