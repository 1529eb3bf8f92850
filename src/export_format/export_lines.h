#pragma once

#include "common/source_record.h"
#include "export_format/client_blocks.h"
#include "export_format/line_layouts.h"

#include <string>
#include <string_view>

namespace kalvian {

// The lines of the export file, as Windows-1252 bytes without terminator. The date separator comes from the
// user's locale at the callers. An invoice line is appended to `line`, which may hold the lines before it, so
// that a run builds many lines in one buffer. Each is written as its layout (line_layouts.h) says.

// "H", the registration number right-justified with zeros to 11, "40". A longer registration is cut.
std::string LinhaCabecalho(std::string_view registration);

// Whether the header holds the whole registration (Windows-1252): no more than 11 characters once the
// blanks and control characters around it are dropped, as the header drops them. Cut, it would be another
// taxpayer's number.
bool registrationFitsHeader(std::string_view registration);

// Appends the E line of an issued invoice, or the short C line when its MODU is exactly "X". Looks up the
// client only for an E line, through the client blocks an export run keeps.
void LinhaEmitida(std::string& line, const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator);

// Appends the R line of a received invoice.
void LinhaRecebida(std::string& line, const SourceRecord& invoice, ClientBlocks& clients, char dateSeparator);

} // namespace kalvian
