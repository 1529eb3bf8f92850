#include "run_summary.h"

#include "cli/totals_report.h"
#include "common/error.h"

#include <sys/stat.h>

namespace kalvian {

namespace {

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The CSV's failures say which file they concern: the export files fail with the same texts.
template <class Step> void onSummary(const std::string& path, Step step) {
    try {
        step();
    } catch (const Error& error) {
        throw Error("Não foi possível gravar o resumo " + path + ": " + error.what());
    }
}

} // namespace

RunSummary::RunSummary(const ExportOptions& options, std::ostream& out)
    : m_out(out), m_everyRegistration(options.todas) {
    if (!options.resumo) {
        return;
    }
    if (exists(*options.resumo) && !options.substituir) {
        throw Error("O arquivo de resumo já existe: " + *options.resumo +
                    " (use --substituir para substituí-lo)");
    }
    m_path = *options.resumo;
    onSummary(m_path, [&] { m_csv.emplace(m_path); });
}

void RunSummary::exported(const std::string& registration, const std::string& file,
                          const ExportTotals& totals) {
    if (!m_everyRegistration) {
        printTotals(m_out, totals);
    }
    if (m_csv) {
        onSummary(m_path, [&] { m_csv->addRow(registration, file, totals); });
    }
    ++m_files;
    m_total.add(totals);
}

void RunSummary::finish() {
    if (m_everyRegistration) {
        m_out << "Todas as inscrições: " << m_files
              << (m_files == 1 ? " arquivo exportado" : " arquivos exportados") << '\n';
        printCounts(m_out, m_total.emitidas, m_total.recebidas);
        printTotals(m_out, m_total);
    }
    if (m_csv) {
        onSummary(m_path, [&] { m_csv->commit(); });
    }
}

} // namespace kalvian
