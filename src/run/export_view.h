#pragma once

#include "common/message_boxes.h"

#include <cstdint>
#include <string>

namespace kalvian {

// What the export run needs of the window: three texts, two focus moves, the status line, the progress bar,
// the two panels and the message boxes. Texts are UTF-8.
class ExportView {
public:
    virtual ~ExportView() = default;

    virtual std::string destinationFolder() const = 0; // edtDestino
    virtual std::string fileName() const = 0;          // edtArquivo
    virtual std::string registration() const = 0;      // edtInscricao
    virtual void focusDestinationFolder() = 0;
    virtual void focusFileName() = 0;

    // Shows the status text at once (lblStatus), painting it before the run goes on.
    virtual void showStatus(const std::string& text) = 0;
    virtual void setProgressRange(std::int64_t minimum, std::int64_t maximum) = 0;
    virtual void setProgressPosition(std::int64_t position) = 0;
    virtual void setProgressStep(std::int64_t step) = 0;
    virtual void stepProgress() = 0;
    // true: the status panel (pnlExportando) replaces the button panel (pnlBotoes); false: the reverse.
    virtual void showExportPanel(bool exporting) = 0;

    virtual MessageBoxes& messages() = 0;
};

} // namespace kalvian
