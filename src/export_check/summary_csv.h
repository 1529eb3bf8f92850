#pragma once

#include "export_check/export_totals.h"
#include "platform/file_calls.h"
#include "platform/replacing_file.h"

#include <string>
#include <string_view>

namespace kalvian {

// The summary of a run: one row per exported registration, as Brazilian spreadsheets open it. UTF-8 with a
// byte-order mark, ";" between fields, CR LF after each row, "," before exactly two decimals and no thousands
// separator, a field quoted as RFC 4180 does when it holds ";", a quote, CR or LF. Written like the export
// file: the file takes its name only by commit(), with every row in it. Failures raise kalvian::Error.
class SummaryCsv {
public:
    static constexpr const char* kHeader = "inscricao;arquivo;emitidas;emitidas_x;recebidas;valor_emitidas;"
                                           "servicos_emitidas;valor_recebidas;servicos_recebidas;"
                                           "imposto_retido;sem_cliente";

    explicit SummaryCsv(std::string path, FileCalls& calls = FileCalls::system());

    // The registration as the user gave it and the export file's path: UTF-8, any malformed byte shown as
    // U+FFFD.
    void addRow(std::string_view registration, std::string_view file, const ExportTotals& totals);
    // As ReplacingFile::commit: false, with nothing written, when a file bears the name and placement is New.
    bool commit(Placement placement);

private:
    ReplacingFile m_file;
};

} // namespace kalvian
