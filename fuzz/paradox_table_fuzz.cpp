#include "paradox_table_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kalvian::paradox::readTableForFuzzing(data, size);
    return 0;
}
