#include "batch_export.h"

#include "cli/console_view.h"
#include "cli/date_argument.h"
#include "cli/export_report.h"
#include "cli/run_summary.h"
#include "cli/totals_report.h"
#include "common/error.h"
#include "export_check/export_line_check.h"
#include "export_format/export_lines.h"
#include "export_format/file_name.h"
#include "platform/file_error.h"
#include "platform/path.h"
#include "run/export_run.h"
#include "run/query_step.h"
#include "run/source_in_use.h"
#include "vrk3/period_invoices.h"
#include "vrk3/registration_text.h"

#include <chrono>
#include <optional>
#include <utility>

namespace kalvian {

namespace {

// The command line has no window: focus and cursor requests go nowhere. It cannot ask either: the warning
// about lock files is printed once a run, and the run goes on.
class NoWindow : public QueryStepHost {
public:
    explicit NoWindow(std::ostream& err) : m_err(err) {}

    void setWaitCursor(bool) override {}
    void focusSourceFolder() override {}
    void disableExport() override {}
    void focusStartDate() override {}
    bool goOnBesideLockFiles(const std::string& warning) override {
        warn(warning);
        return true;
    }
    void warn(const std::string& warning) {
        if (!std::exchange(m_warned, true)) {
            m_err << warning << '\n';
        }
    }

private:
    std::ostream& m_err;
    bool m_warned = false;
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

// The export run of one registration over its open sources, as the window's "Exportar" does it; every line
// written is read back for the totals.
RegistrationExport exportRegistration(const ExportOptions& options, const std::string& registration,
                                      Period period, const ExportSources& sources, Console& console) {
    RegistrationExport result{.registration = registration,
                              .issued = sources.issued.rowCount(),
                              .received = sources.received.rowCount()};
    ConsoleView view({options.destino.value_or(console.currentFolder),
                      options.arquivo.value_or(NomeArquivoPadrao(registration, period)), registration},
                     options.substituir, console.err, console.progress);
    ExportLineCheck check;
    result.written = ExportaDados(view, sources, console.lineDateSeparator, FileCalls::system(), &check);
    result.notice = view.lastNotice();
    if (result.written) {
        result.file = MontaCaminho(view.destinationFolder(), view.fileName());
        result.totals = check.totals();
    }
    return result;
}

// A registration named on the command line: its own query step, then the export.
bool exportNamed(const ExportOptions& options, const std::string& registration, Period period,
                 Console& console, NoWindow& host, RunSummary& summary) {
    SourceQueries queries;
    console.out << "Inscrição " << registration << '\n';
    if (!ConsultaDados(queries, registration, period, options.origem, host)) {
        return false;
    }
    printCounts(console.out, queries.emitida().rowCount(), queries.recebida().rowCount());
    const RegistrationExport result = exportRegistration(
        options, registration, period, {queries.emitida(), queries.recebida(), queries.cliente()}, console);
    printOutcome(console.out, console.err, result);
    if (result.written) {
        summary.exported(result.registration, result.file, result.totals);
    }
    return result.written;
}

int exportNamedRegistrations(const ExportOptions& options, Period period, Console& console,
                             RunSummary& summary) {
    int exitCode = kExitSuccess;
    NoWindow host(console.err);
    for (const std::string& registration : options.inscricoes) {
        try {
            if (!exportNamed(options, registration, period, console, host, summary)) {
                exitCode = kExitFailure;
            }
        } catch (const Error& error) {
            console.err << failureText(error) << '\n';
            exitCode = kExitFailure;
        }
    }
    return exitCode;
}

std::string notExported(std::int64_t count) {
    return std::to_string(count) +
           (count == 1 ? " nota do período não foi exportada" : " notas do período não foram exportadas");
}

std::string unassignedMessage(const UnassignedInvoices& unassigned) {
    return notExported(static_cast<std::int64_t>(unassigned.total())) +
           ": o INSMUN não identifica uma inscrição (vazio em " +
           std::to_string(unassigned.withoutRegistration) + ", NaN ou infinito em " +
           std::to_string(unassigned.invalidRegistration) + ")";
}

// A stored number whose text the header would cut to another taxpayer's number gets no file.
std::string tooLongMessage(const std::string& registration, std::int64_t issued, std::int64_t received) {
    return notExported(issued + received) + " (" + std::to_string(issued) + " emitidas, " +
           std::to_string(received) + " recebidas): a inscrição tem " + std::to_string(registration.size()) +
           " caracteres, e o cabeçalho do arquivo comporta " + std::to_string(kRegistrationWidth);
}

// Every registration with invoices in the period: one scan of each table gathers them all, then each file
// is written as an export of that registration alone would write it.
int exportAllRegistrations(const ExportOptions& options, Period period, Console& console,
                           RunSummary& summary) {
    const auto started = std::chrono::steady_clock::now();
    PeriodInvoices invoices;
    try {
        NoWindow host(console.err);
        checkCutOff(period.end);
        ValidaArquivos(period, options.origem, host);
        if (const auto warning = sourceInUseWarning(options.origem)) {
            host.warn(*warning);
        }
        invoices.open(options.origem, period);
    } catch (const Error& error) {
        console.err << failureText(error) << '\n';
        return kExitFailure;
    }
    if (invoices.registrations().empty()) {
        console.out << "Nenhuma inscrição tem notas no período.\n";
    }

    int exitCode = kExitSuccess;
    std::int64_t files = 0;
    std::int64_t exported = 0;
    for (RegistrationInvoices& registration : invoices.registrations()) {
        const std::string text = registrationText(registration.registration);
        RecordCursor issued = invoices.issued(registration);
        RecordCursor received = invoices.received(registration);
        RegistrationExport result{
            .registration = text, .issued = issued.rowCount(), .received = received.rowCount()};
        if (!registrationFitsHeader(text)) {
            result.notice = withFinalPeriod(tooLongMessage(text, result.issued, result.received));
        } else {
            try {
                result = exportRegistration(options, text, period, {issued, received, invoices.clients()},
                                            console);
            } catch (const Error& error) {
                result.notice = failureText(error);
            }
        }
        printOneLine(console.out, console.err, result);
        if (result.written) {
            ++files;
            exported += result.issued + result.received;
            summary.exported(result.registration, result.file, result.totals);
        } else {
            exitCode = kExitFailure;
        }
        registration.issued = {};
        registration.received = {};
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
    printRunTotals(console.out, files, exported, took.count());
    summary.printTotal();
    if (invoices.unassigned().total() > 0) {
        console.err << withFinalPeriod(unassignedMessage(invoices.unassigned())) << '\n';
        exitCode = kExitFailure;
    }
    return exitCode;
}

} // namespace

int runBatchExport(const ExportOptions& options, Console& console) {
    const auto start = readDate(options.inicio, "--inicio", console);
    const auto end = readDate(options.fim, "--fim", console);
    if (!start || !end) {
        return kExitUsage;
    }
    const Period period{{*start}, {*end}};
    std::optional<RunSummary> summary;
    try {
        summary.emplace(options, console.out);
    } catch (const Error& error) {
        console.err << failureText(error) << '\n';
        return kExitFailure;
    }
    int exitCode = options.todas ? exportAllRegistrations(options, period, console, *summary)
                                 : exportNamedRegistrations(options, period, console, *summary);
    try {
        summary->finish();
    } catch (const Error& error) {
        console.err << failureText(error) << '\n';
        exitCode = kExitFailure;
    }
    return exitCode;
}

} // namespace kalvian
