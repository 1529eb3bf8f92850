#include "run_summary.h"

#include "cli/totals_report.h"
#include "common/error.h"
#include "export_format/file_name.h"
#include "platform/files.h"
#include "platform/path.h"

namespace kalvian {

RunSummary::RunSummary(const ExportOptions& options, std::ostream& out)
    : m_out(out), m_everyRegistration(options.todas) {
    if (!options.resumo) {
        return;
    }
    m_path = *options.resumo;
    m_replace = options.substituir;
    if (const std::optional<std::string> fault = windowsNameFault(fileNameOf(m_path))) {
        throw Error("--resumo " + m_path + ": " + *fault);
    }
    if (mayNotReplace()) {
        throw Error(alreadyThere());
    }
    try {
        m_csv.emplace(m_path);
    } catch (const Error& error) {
        throw Error(csvFailure(error));
    }
}

void RunSummary::exported(const std::string& registration, const std::string& file,
                          const ExportTotals& totals) {
    if (!m_everyRegistration) {
        printTotals(m_out, totals);
    }
    if (m_csv) {
        // A CSV that cannot be written stops no export: its failure is told once, at the end.
        try {
            m_csv->addRow(registration, file, totals);
        } catch (const Error& error) {
            m_csvFailure = csvFailure(error);
            m_csv.reset();
        }
    }
    m_total.add(totals);
}

void RunSummary::printTotal() const {
    m_out << "Emitidas: " << m_total.issued << "\nRecebidas: " << m_total.received << '\n';
    printTotals(m_out, m_total);
}

void RunSummary::finish() {
    if (m_csv) {
        try {
            // A file may have come to the name since the start, even one this run exported.
            if (!m_csv->commit(m_replace ? Placement::Replace : Placement::New)) {
                m_csvFailure = alreadyThere();
            }
        } catch (const Error& error) {
            m_csvFailure = csvFailure(error);
        }
    }
    if (!m_csvFailure.empty()) {
        throw Error(m_csvFailure);
    }
}

bool RunSummary::mayNotReplace() const {
    return !m_replace && fileExists(m_path);
}

std::string RunSummary::alreadyThere() const {
    return "O arquivo de resumo já existe: " + m_path + " (use --substituir para substituí-lo)";
}

// The CSV's failures name it: the export files fail with the same texts.
std::string RunSummary::csvFailure(const Error& error) const {
    return "Não foi possível gravar o resumo " + m_path + ": " + error.what();
}

} // namespace kalvian
