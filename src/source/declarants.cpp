#include "declarants.h"

#include "source/field_decoders.h"
#include "source/period_filter.h"
#include "source/query_schema.h"
#include "source/table_files.h"

#include <algorithm>

namespace kalvian {

namespace {

constexpr DeclaredField kSelectionFields[] = {{"INSMUN", DeclaredType::Float}, {"DATA", DeclaredType::Date}};

void collect(std::string_view folder, const char* tableFile, const char* queryName, double start, double end,
             std::vector<double>& found) {
    const paradox::Table table = openSourceTable(folder, tableFile);
    checkSchema(queryName, table, kSelectionFields);
    const paradox::FieldInfo& insmun = table.field("INSMUN");
    const PeriodFilter inPeriod(table, table.field("DATA"), start, end);
    table.scan([&](std::span<const std::byte> record) {
        if (inPeriod(record)) {
            if (const auto number = paradox::number(record, insmun)) {
                found.push_back(*number);
            }
        }
    });
}

} // namespace

std::vector<double> declarantsInPeriod(std::string_view folder, double start, double end) {
    std::vector<double> found;
    collect(folder, kIssuedTableFile, "qryEmitida", start, end, found);
    collect(folder, kReceivedTableFile, "qryRecebida", start, end, found);
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

} // namespace kalvian
