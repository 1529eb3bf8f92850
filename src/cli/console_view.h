#pragma once

#include "run/export_view.h"

#include <ostream>
#include <string>

namespace kalvian {

// The export run on a terminal: questions answered by --substituir, notices and progress on the two
// streams. Progress is drawn only when stderr is a terminal.
class ConsoleView : public ExportView, public MessageBoxes {
public:
    struct Target {
        std::string folder;
        std::string fileName;
        std::string registration;
    };

    ConsoleView(Target target, bool replace, std::ostream& err, bool showProgress);
    ~ConsoleView() override;

    std::string destinationFolder() const override { return m_target.folder; }
    std::string fileName() const override { return m_target.fileName; }
    std::string registration() const override { return m_target.registration; }
    void focusDestinationFolder() override {}
    void focusFileName() override {}

    void showStatus(const std::string& text) override;
    void setProgressRange(std::int64_t minimum, std::int64_t maximum) override;
    void setProgressPosition(std::int64_t position) override;
    void setProgressStep(std::int64_t step) override { m_step = step; }
    void stepProgress() override;
    void showExportPanel(bool) override {}
    MessageBoxes& messages() override { return *this; }

    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override;
    void inform(const std::string& title, const std::string& text, MessageIcon icon) override;

    // The text of the last notice the run gave: its success, or why it wrote nothing.
    const std::string& lastNotice() const { return m_lastNotice; }

private:
    void drawProgress();

    Target m_target;
    bool m_replace;
    std::ostream& m_err;
    bool m_showProgress;
    std::string m_status;
    std::int64_t m_minimum = 0;
    std::int64_t m_maximum = 0;
    std::int64_t m_position = 0;
    std::int64_t m_step = 1;
    int m_shownPercent = -1;
    bool m_drawn = false;
    std::string m_lastNotice;
};

} // namespace kalvian
