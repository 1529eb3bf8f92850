// kalvian-export: the command-line exporter.
#include "cli/batch_export.h"
#include "cli/conferir_command.h"
#include "cli/export_options.h"
#include "platform/process.h"
#include "qt_locale/locale_date_separator.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>

#include <iostream>

int main(int argc, char* argv[]) {
    kalvian::useStandardStreamsAsBytes();
    const QCoreApplication app(argc, argv);
    // The arguments as the system passed them: Qt's decoding turns bytes that are not UTF-8 into U+FFFD.
    const kalvian::ParsedOptions parsed =
        kalvian::parseExportOptions(kalvian::commandLineArguments(argc, argv));
    if (!parsed.usageError.empty()) {
        std::cerr << parsed.usageError << "\nUse kalvian-export --ajuda para ver as opções.\n";
        return kalvian::kExitUsage;
    }
    if (parsed.options.ajuda) {
        std::cout << kalvian::exportUsage();
        return kalvian::kExitSuccess;
    }
    if (parsed.options.versao) {
        std::cout << kalvian::exportVersion();
        return kalvian::kExitSuccess;
    }
    if (parsed.options.conferir) {
        return kalvian::runConferir(*parsed.options.conferir, std::cout, std::cerr);
    }
    const QDate today = QDate::currentDate();
    kalvian::Console console{std::cout,
                             std::cerr,
                             kalvian::standardErrorIsTerminal(),
                             {today.year(), today.month(), today.day()},
                             kalvian::localeDateSeparator(QLocale()),
                             kalvian::currentFolder()};
    return kalvian::runBatchExport(parsed.options, console);
}
