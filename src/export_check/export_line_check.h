#pragma once

#include "export_check/export_file_reader.h"
#include "export_check/export_totals.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kalvian {

// Checks the records of one export file in order, as they are written or read back: each in its layout,
// the header first and only there, issued invoices before received ones, one date separator throughout.
// Adds up what they hold.
class ExportLineCheck {
public:
    // Checks the record at the start of `bytes` (at least kLongestRecord bytes, or the rest of the file) and
    // returns its length. A bad record raises kalvian::Error "linha N: ..." (N from 1); before that,
    // `physicalLength` is asked for the length of its physical line (physicalLineLength), which may mean
    // reading on.
    std::size_t next(std::string_view bytes, const std::function<std::size_t()>& physicalLength);

    // The lines an export writes, each with its CR LF. A line in its usual form (readUsualRecord) is only
    // added up and put in order, since the export has just built it; any other is checked as next() does.
    void addWritten(std::string_view lines);

    // Raises kalvian::Error when the file held no line at all.
    void finish() const;

    std::int64_t lines() const { return m_lines; }
    // The header's registration, as its 11 bytes.
    const std::string& registration() const { return m_registration; }
    const ExportTotals& totals() const { return m_totals; }

private:
    // Puts a record read in its place: the header first and only there, issued invoices before received
    // ones, one date separator; adds it up.
    void take(const ExportRecord& record, bool ambiguous);
    [[noreturn]] void fail(const std::string& message) const;

    std::int64_t m_lines = 0;
    std::string m_registration;
    char m_dateSeparator = 0;
    bool m_receivedSeen = false;
    ExportTotals m_totals;
};

} // namespace kalvian
