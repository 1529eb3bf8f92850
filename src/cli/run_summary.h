#pragma once

#include "cli/export_options.h"
#include "common/error.h"
#include "export_check/export_totals.h"
#include "export_check/summary_csv.h"

#include <optional>
#include <ostream>
#include <string>

namespace kalvian {

// What a run tells of the files it exported. Each export's totals are printed after it; under --todas,
// where a run may write hundreds of files, the console gets one total of them all at the end instead (after
// the line of files, invoices and seconds) and each registration's totals go only to the --resumo CSV.
class RunSummary {
public:
    // Starts the --resumo CSV, if asked for, before anything is exported: an existing one is replaced only
    // with --substituir. Raises kalvian::Error.
    RunSummary(const ExportOptions& options, std::ostream& out);

    void exported(const std::string& registration, const std::string& file, const ExportTotals& totals);

    // Under --todas, after the line of files, invoices and seconds: the counts and totals of every file
    // exported.
    void printTotal() const;

    // Writes the CSV. Raises kalvian::Error when it cannot be written.
    void finish();

private:
    bool mayNotReplace() const;
    std::string alreadyThere() const;
    std::string csvFailure(const Error& error) const;

    std::ostream& m_out;
    bool m_everyRegistration;
    std::string m_path;
    bool m_replace = false;
    std::optional<SummaryCsv> m_csv;
    std::string m_csvFailure;
    ExportTotals m_total;
};

} // namespace kalvian
