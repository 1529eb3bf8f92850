#include "export_file_entry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kalvian::readExportFileForFuzzing(data, size);
    return 0;
}
