#include "export_line_check.h"

#include "common/error.h"
#include "export_check/export_file_reader.h"

namespace kalvian {

std::size_t ExportLineCheck::next(std::string_view bytes,
                                  const std::function<std::size_t()>& physicalLength) {
    ++m_lines;
    const RecordRead read = readExportRecord(bytes);
    if (!read.record) {
        fail(faultMessage(read.fault, physicalLength()));
    }
    take(*read.record, read.ambiguous);
    return read.record->length;
}

void ExportLineCheck::take(const ExportRecord& record, bool ambiguous) {
    if (m_lines == 1 && record.type != 'H') {
        fail(std::string("falta o cabeçalho: a primeira linha deve ser do tipo H, não ") + record.type);
    }
    if (m_lines > 1 && record.type == 'H') {
        fail("cabeçalho repetido: só a primeira linha é do tipo H");
    }
    if (record.type == 'R') {
        m_receivedSeen = true;
    } else if (m_receivedSeen) {
        fail(std::string("linha ") + record.type +
             " depois das linhas R: as notas emitidas vêm antes das recebidas");
    }
    if (record.dateSeparator != 0) {
        if (m_dateSeparator == 0) {
            m_dateSeparator = record.dateSeparator;
        } else if (record.dateSeparator != m_dateSeparator) {
            fail(std::string("separador de data \"") + record.dateSeparator +
                 "\" diferente do das linhas anteriores (\"" + m_dateSeparator + "\")");
        }
    }
    if (record.type == 'H') {
        m_registration = record.header;
    }
    m_totals.add(record);
    if (ambiguous) {
        ++m_totals.ambiguousReadings;
    }
}

void ExportLineCheck::addWritten(std::string_view lines) {
    while (!lines.empty()) {
        // Nearly every line is in its usual form, whose places need no search.
        if (const std::optional<ExportRecord> usual = readUsualRecord(lines)) {
            ++m_lines;
            take(*usual, false);
            lines.remove_prefix(usual->length);
            continue;
        }
        const std::size_t length =
            next(lines, [lines] { return physicalLineLength(lines, true).value_or(lines.size()); });
        lines.remove_prefix(length);
    }
}

void ExportLineCheck::finish() const {
    if (m_lines == 0) {
        throw Error("linha 1: arquivo vazio; falta o cabeçalho (linha H)");
    }
}

void ExportLineCheck::fail(const std::string& message) const {
    throw Error("linha " + std::to_string(m_lines) + ": " + message);
}

} // namespace kalvian
