#include "batch_export.h"

#include "cli/console_view.h"
#include "cli/date_argument.h"
#include "cli/run_summary.h"
#include "cli/totals_report.h"
#include "common/error.h"
#include "common/number_text.h"
#include "common/path.h"
#include "export/export_run.h"
#include "export/file_name.h"
#include "export/io_error.h"
#include "source/declarants.h"
#include "source/query_step.h"

#include <optional>

namespace kalvian {

namespace {

// The command line has no window: focus and cursor requests go nowhere.
class NoWindow : public QueryStepHost {
public:
    void setWaitCursor(bool) override {}
    void focusSourceFolder() override {}
    void disableExport() override {}
    void focusStartDate() override {}
};

struct Period {
    double start = kBlankDate;
    double end = kBlankDate;
};

std::optional<double> readDate(const std::string& text, const char* option, const Console& console) {
    const DateArgument argument = readDateArgument(text, option, console.today);
    if (!argument.error.empty()) {
        console.err << argument.error << '\n';
        return std::nullopt;
    }
    return argument.date;
}

// The window's text; for the export file, also where and why.
std::string failureText(const Error& error) {
    std::string text = withFinalPeriod(error.what());
    if (const auto* file = dynamic_cast<const FileError*>(&error)) {
        text += ' ' + file->whereAndWhy();
    }
    return text;
}

bool exportOne(const ExportOptions& options, const std::string& registration, Period period, Console& console,
               RunSummary& summary) {
    console.out << "Inscrição " << registration << '\n';
    SourceQueries queries;
    NoWindow host;
    ConsultaDados(queries, registration, period.start, period.end, options.origem, host);
    const std::int64_t issued = queries.emitida().rowCount();
    const std::int64_t received = queries.recebida().rowCount();
    printCounts(console.out, issued, received);

    ConsoleView view({options.destino.value_or(console.currentFolder),
                      options.arquivo.value_or(NomeArquivoPadrao(registration, period.start, period.end)),
                      registration},
                     options.substituir, console.err, console.progress);
    ExportLineCheck check;
    const bool written = ExportaDados(view, {queries.emitida(), queries.recebida(), queries.cliente()},
                                      console.lineDateSeparator, FileCalls::system(), &check);
    (written ? console.out : console.err) << view.lastNotice() << '\n';
    if (written) {
        const std::string file = MontaCaminho(view.destinationFolder(), view.fileName());
        console.out << "Arquivo: " << file << '\n';
        summary.exported(registration, file, check.totals());
    }
    return written;
}

} // namespace

int runBatchExport(const ExportOptions& options, Console& console) {
    const auto start = readDate(options.inicio, "--inicio", console);
    const auto end = readDate(options.fim, "--fim", console);
    if (!start || !end) {
        return kExitUsage;
    }
    const Period period{*start, *end};
    std::optional<RunSummary> summary;
    try {
        summary.emplace(options, console.out);
    } catch (const Error& error) {
        console.err << failureText(error) << '\n';
        return kExitFailure;
    }

    std::vector<std::string> registrations = options.inscricoes;
    if (options.todas) {
        try {
            NoWindow host;
            checkCutOff(period.end);
            ValidaArquivos(period.start, period.end, options.origem, host);
            for (const double number : declarantsInPeriod(options.origem, period.start, period.end)) {
                registrations.push_back(formatGeneral(number));
            }
        } catch (const Error& error) {
            console.err << failureText(error) << '\n';
            return kExitFailure;
        }
        if (registrations.empty()) {
            console.out << "Nenhuma inscrição tem notas no período.\n";
        }
    }

    int exitCode = kExitSuccess;
    for (const std::string& registration : registrations) {
        try {
            if (!exportOne(options, registration, period, console, *summary)) {
                exitCode = kExitFailure;
            }
        } catch (const Error& error) {
            console.err << failureText(error) << '\n';
            exitCode = kExitFailure;
        }
    }
    try {
        summary->finish();
    } catch (const Error& error) {
        console.err << failureText(error) << '\n';
        exitCode = kExitFailure;
    }
    return exitCode;
}

} // namespace kalvian
