#pragma once

#include "cli/export_options.h"
#include "common/error.h"
#include "export/export_totals.h"
#include "export/summary_csv.h"

#include <optional>
#include <ostream>
#include <string>

namespace kalvian {

// What a run tells of the files it exported. Each export's totals are printed after it; under --todas,
// where a run may write hundreds of files, the console gets one total of them all at the end instead and
// each registration's totals go only to the --resumo CSV.
class RunSummary {
public:
    // Starts the --resumo CSV, if asked for, before anything is exported: an existing one is replaced only
    // with --substituir. Raises kalvian::Error.
    RunSummary(const ExportOptions& options, std::ostream& out);

    void exported(const std::string& registration, const std::string& file, const ExportTotals& totals);

    // Prints the total under --todas and writes the CSV. Raises kalvian::Error when the CSV cannot be
    // written.
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
    std::int64_t m_files = 0;
    ExportTotals m_total;
};

} // namespace kalvian
