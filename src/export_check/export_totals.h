#pragma once

#include "export_check/exact_sum.h"
#include "export_check/export_file_reader.h"

#include <cstdint>
#include <vector>

namespace kalvian {

// What an export file holds, from its lines as written: the counts of invoice lines, the exact sums of
// their amounts and the invoices whose client was not found.
struct ExportTotals {
    static constexpr std::size_t kShownCodes = 10;

    std::int64_t issued = 0;        // E and C lines
    std::int64_t issuedShort = 0;   // C lines
    std::int64_t received = 0;      // R lines
    std::int64_t withoutClient = 0; // E and R lines whose client block says the client was not found
    // Up to kShownCodes of their client codes, each once, in the order first met.
    std::vector<std::int64_t> missingClientCodes;
    bool moreMissingCodes = false;      // more codes than kShownCodes
    std::int64_t withoutClientCode = 0; // blank client blocks: codes below 1 name no one
    ExactSum issuedValue;               // VALNF of E lines
    ExactSum issuedServices;            // VALSER of E lines
    ExactSum receivedValue;             // VALNF of R lines
    ExactSum receivedServices;          // VALSER of R lines
    ExactSum withheldTax;               // IMPRET of R lines
    // Lines whose general-notation amounts read two ways (see RecordRead); the sums take the longer exponent.
    std::int64_t ambiguousReadings = 0;

    void add(const ExportRecord& record);
    void add(const ExportTotals& other);

private:
    void addMissingCode(std::int64_t code);
};

} // namespace kalvian
