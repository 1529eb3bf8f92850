#include "summary_csv.h"

#include "common/utf8.h"

namespace kalvian {

namespace {

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

std::string textField(std::string_view text) {
    std::string field = validUtf8(text);
    if (field.find_first_of(";\"\r\n") == std::string::npos) {
        return field;
    }
    std::string quoted = "\"";
    for (const char ch : field) {
        quoted += ch;
        if (ch == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

std::string amountField(const ExactSum& sum) {
    return sum.text(',', 0);
}

} // namespace

SummaryCsv::SummaryCsv(std::string path, FileCalls& calls) : m_file(std::move(path), calls) {
    m_file.write(std::string(kByteOrderMark) + kHeader + "\r\n");
}

void SummaryCsv::addRow(std::string_view registration, std::string_view file, const ExportTotals& totals) {
    const std::string fields[] = {
        textField(registration),
        textField(file),
        std::to_string(totals.issued),
        std::to_string(totals.issuedShort),
        std::to_string(totals.received),
        amountField(totals.issuedValue),
        amountField(totals.issuedServices),
        amountField(totals.receivedValue),
        amountField(totals.receivedServices),
        amountField(totals.withheldTax),
        std::to_string(totals.withoutClient),
    };
    std::string row;
    for (const std::string& field : fields) {
        row += field;
        row += ';';
    }
    row.back() = '\r';
    m_file.write(row + "\n");
}

bool SummaryCsv::commit(Placement placement) {
    return m_file.commit(placement);
}

} // namespace kalvian
