#include "query_step.h"

#include "common/date_serial.h"
#include "common/error.h"
#include "run/source_in_use.h"
#include "vrk3/table_files.h"

namespace kalvian {

double CutOffDate() {
    return toSerial({2008, 12, 15});
}

void checkCutOff(DateSerial end) {
    if (end.serial > CutOffDate()) {
        throw Error("Notas emitidas após o dia 15/12 devem ser lançadas na versão 4.0");
    }
}

void ValidaArquivos(Period period, std::string_view folder, QueryStepHost& host) {
    host.disableExport();
    if (period.end.serial < period.start.serial) {
        host.focusStartDate();
        throw Error("A Data Final deve ser maior ou igual a Data Inicial");
    }
    checkSourceFiles(folder, host);
}

bool ConsultaDados(SourceQueries& queries, std::string_view registration, Period period,
                   std::string_view folder, QueryStepHost& host) {
    checkCutOff(period.end);
    ValidaArquivos(period, folder, host);
    queries.FechaConsultas();
    if (const auto warning = sourceInUseWarning(folder); warning && !host.goOnBesideLockFiles(*warning)) {
        host.focusSourceFolder();
        return false;
    }
    queries.AbreConsultas(registration, period, folder, host);
    return true;
}

} // namespace kalvian
