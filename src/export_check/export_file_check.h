#pragma once

#include "export_check/export_line_check.h"

#include <string>

namespace kalvian {

// Reads an export file back and checks it line by line (ExportLineCheck), streaming it through a buffer of
// fixed size, however large the file or its lines. Raises kalvian::Error at the first bad line ("linha N:
// ...") or when the file cannot be read ("Não foi possível ler PATH: File not found").
ExportLineCheck checkExportFile(const std::string& path);

} // namespace kalvian
