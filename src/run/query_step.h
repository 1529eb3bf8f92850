#pragma once

#include "common/date_serial.h"
#include "vrk3/query_host.h"
#include "vrk3/source_queries.h"

#include <string>
#include <string_view>

namespace kalvian {

// Invoices after this day belong to version 4 directly.
double CutOffDate();

// What the query step needs of the window besides the cursor and the folder field.
class QueryStepHost : public QueryHost {
public:
    virtual void disableExport() = 0;  // actExportar
    virtual void focusStartDate() = 0; // edtDataIni
    // The folder holds lock files (the warning says what that means): true to read the tables all the same.
    virtual bool goOnBesideLockFiles(const std::string& warning) = 0;
};

// Refuses an end date after the cut-off date; moves no focus.
void checkCutOff(DateSerial end);

// Disables the export, refuses an end date before the start date (focusing the start date), then checks
// the folder for the three tables.
void ValidaArquivos(Period period, std::string_view folder, QueryStepHost& host);

// The checks and the opening of the query step, in order: the cut-off, ValidaArquivos, the question about
// lock files in the folder, AbreConsultas. Queries that an earlier, failed step left open are closed before
// the question: their rows may belong to another registration number or period. False when the host did
// not go on past the question: the step ends with no query open and the folder field focused.
bool ConsultaDados(SourceQueries& queries, std::string_view registration, Period period,
                   std::string_view folder, QueryStepHost& host);

} // namespace kalvian
