#include "export_run.h"

#include "common/error.h"
#include "common/trim.h"
#include "common/windows1252.h"
#include "export_format/export_lines.h"
#include "export_format/file_name.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/replacing_file.h"
#include "run/background_writer.h"
#include "run/side_by_side_lines.h"

#include <optional>

namespace kalvian {

namespace {

std::string targetPath(const ExportView& view) {
    return MontaCaminho(view.destinationFolder(), view.fileName());
}

// Brings the button panel back however the run ends.
class ButtonPanelRestorer {
public:
    explicit ButtonPanelRestorer(ExportView& view) : m_view(view) {}
    ~ButtonPanelRestorer() { m_view.showExportPanel(false); }

    ButtonPanelRestorer(const ButtonPanelRestorer&) = delete;
    ButtonPanelRestorer& operator=(const ButtonPanelRestorer&) = delete;

private:
    ExportView& m_view;
};

// The file being written, and the check that adds up its lines when the caller asks for one.
struct Output {
    ReplacingFile& file;
    ExportLineCheck* check;

    void write(const std::string& lines) const {
        file.write(lines);
        if (check != nullptr) {
            check->addWritten(lines);
        }
    }
};

// The question about an existing file; on any answer but Yes, the notice to change the name.
bool replacingAllowed(ExportView& view) {
    if (view.messages().askYesNo("Arquivo encontrado",
                                 "O arquivo informado já existe. Deseja substituí-lo por novos dados ?",
                                 MessageIcon::Warning)) {
        return true;
    }
    view.focusFileName();
    view.messages().inform("Alerta", "Altere o nome do Arquivo e tente exportar novamente",
                           MessageIcon::Information);
    return false;
}

// How the file may take its name; nothing when the user declined to replace an existing file (after the
// "Alerta" notice). A missing folder or file name, or a name Windows cannot hold, raises kalvian::Error after
// focusing its field.
std::optional<Placement> ValidaDestino(ExportView& view) {
    if (trimBlanks(view.destinationFolder()).empty()) {
        view.focusDestinationFolder();
        throw Error("Selecione a pasta onde o arquivo deverá ser gravado");
    }
    if (trimBlanks(view.fileName()).empty()) {
        view.focusFileName();
        throw Error("Informe um nome para o arquivo exportado");
    }
    if (const std::optional<std::string> fault = windowsNameFault(view.fileName())) {
        view.focusFileName();
        throw Error(*fault);
    }
    if (!fileExists(targetPath(view))) {
        return Placement::New;
    }
    if (!replacingAllowed(view)) {
        return std::nullopt;
    }
    return Placement::Replace;
}

} // namespace

void MostraStatus(ExportView& view, const std::string& text) {
    view.showStatus(std::string(trimBlanks(text)));
}

// The threads of a run and what each owns. The calling thread (the window's or the command line's) owns the
// view and the sources' own cursors, and builds the lines of a small query itself. The lines of a large query
// are built by two threads (SideBySideLines), each owning a cursor, a client lookup and client blocks of its
// own, and come to the calling thread through a queue from each. The calling thread hands them on through
// another queue to the writer's thread (BackgroundWriter), which owns the file and the check from the end of
// the first megabyte until writer.finish() returns. The rows and the clients' index are read by all and
// changed by none while the run lasts.
bool ExportaDados(ExportView& view, const ExportSources& sources, char dateSeparator, FileCalls& calls,
                  ExportLineCheck* check) {
    const std::optional<Placement> placement = ValidaDestino(view);
    if (!placement) {
        return false;
    }
    const ButtonPanelRestorer restorer(view);

    view.setProgressRange(0, sources.issued.rowCount() + sources.received.rowCount());
    view.setProgressStep(1);
    view.setProgressPosition(0);

    const std::string target = targetPath(view);
    MostraStatus(view, "Criando Arquivo");
    view.showExportPanel(true);

    ReplacingFile file(target, calls);
    const Output output{file, check};
    // Small pieces are gathered by the file's own buffer; each is handed over as it comes.
    BackgroundWriter writer([&output](const std::string& lines) { output.write(lines); });
    std::string header = LinhaCabecalho(utf8ToWindows1252(view.registration())) + "\r\n";
    writer.hand(header);

    const auto take = [&](std::string& built, std::size_t rows) {
        writer.hand(built);
        for (std::size_t i = 0; i < rows; ++i) {
            view.stepProgress();
        }
    };
    SideBySideLines sideBySide(sources.clients);
    MostraStatus(view, "Notas Emitidas...");
    sideBySide.build(
        sources.issued,
        [&](std::string& line, const SourceRecord& invoice, ClientBlocks& clients) {
            LinhaEmitida(line, invoice, clients, dateSeparator);
        },
        take);

    MostraStatus(view, "Notas Recebidas...");
    sideBySide.build(
        sources.received,
        [&](std::string& line, const SourceRecord& invoice, ClientBlocks& clients) {
            LinhaRecebida(line, invoice, clients, dateSeparator);
        },
        take);
    writer.finish();

    // A file that another program gave the name while this run wrote meets the question it would have met
    // had it been there from the start.
    if (!file.commit(*placement)) {
        if (!replacingAllowed(view)) {
            return false;
        }
        file.commit(Placement::Replace);
    }
    MostraStatus(view, "Concluído.");
    view.messages().inform("Exportação", "Dados exportados com sucesso.", MessageIcon::Information);
    return true;
}

} // namespace kalvian
