#pragma once

#include "common/invoice_query.h"
#include "common/source_record.h"
#include "export_check/export_line_check.h"
#include "platform/file_calls.h"
#include "run/export_view.h"

#include <string>

namespace kalvian {

// The open queries an export reads.
struct ExportSources {
    InvoiceQuery& issued;
    InvoiceQuery& received;
    ClientLookup& clients;
};

// Puts the text, trimmed, into the status line.
void MostraStatus(ExportView& view, const std::string& text);

// The whole "Exportar" action: checks the destination, then writes the header, every issued and every
// received invoice, one line each ended by CR LF, into a file that takes the target's name only once it is
// complete (ReplacingFile). False when the user declined to replace an existing file, also one that another
// program created while the run wrote. Any failure raises kalvian::Error (FileError for the file); an
// existing target is then left as it was. With a check, every line written also goes through it, which
// adds up the file as it will be read back (a line it refuses fails the run).
bool ExportaDados(ExportView& view, const ExportSources& sources, char dateSeparator,
                  FileCalls& calls = FileCalls::system(), ExportLineCheck* check = nullptr);

} // namespace kalvian
