// kalvian-export: the command-line exporter.
#include "cli/batch_export.h"
#include "cli/conferir_command.h"
#include "cli/export_options.h"
#include "widgets/locale_date_separator.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QLocale>

#include <iostream>
#include <unistd.h>

int main(int argc, char* argv[]) {
    const QCoreApplication app(argc, argv);
    const kalvian::ParsedOptions parsed = kalvian::parseExportOptions(QCoreApplication::arguments());
    if (!parsed.usageError.empty()) {
        std::cerr << parsed.usageError << "\nUse kalvian-export --ajuda para ver as opções.\n";
        return kalvian::kExitUsage;
    }
    if (parsed.options.ajuda) {
        std::cout << kalvian::exportUsage();
        return kalvian::kExitSuccess;
    }
    if (parsed.options.conferir) {
        return kalvian::runConferir(*parsed.options.conferir, std::cout, std::cerr);
    }
    const QDate today = QDate::currentDate();
    kalvian::Console console{std::cout,
                             std::cerr,
                             ::isatty(STDERR_FILENO) == 1,
                             {today.year(), today.month(), today.day()},
                             kalvian::localeDateSeparator(QLocale()),
                             QDir::currentPath().toStdString()};
    return kalvian::runBatchExport(parsed.options, console);
}
