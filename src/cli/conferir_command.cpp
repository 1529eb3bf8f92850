#include "conferir_command.h"

#include "cli/batch_export.h"
#include "cli/totals_report.h"
#include "common/error.h"
#include "common/windows1252.h"
#include "export_check/export_file_check.h"

namespace kalvian {

int runConferir(const std::string& path, std::ostream& out, std::ostream& err) {
    try {
        const ExportLineCheck check = checkExportFile(path);
        const ExportTotals& totals = check.totals();
        out << "Arquivo: " << path << "\nInscrição: " << windows1252ToUtf8(check.registration()) << '\n';
        printCounts(out, totals.issued, totals.received);
        printTotals(out, totals);
        out << "Arquivo conferido: " << check.lines() << (check.lines() == 1 ? " linha" : " linhas")
            << " sem erros.\n";
        return kExitSuccess;
    } catch (const Error& error) {
        err << withFinalPeriod(error.what()) << '\n';
        return kExitFailure;
    }
}

} // namespace kalvian
