#pragma once

#include "run/export_view.h"
#include "support/icon_name.h"

#include <string>
#include <vector>

namespace kalvian::test {

// An export view that records what the run does to it, in order, and answers questions as told.
class RecordingView : public ExportView, public MessageBoxes {
public:
    std::string folder;
    std::string name;
    std::string inscricao = "123";
    bool answerYes = true;
    std::vector<std::string> events;
    int steps = 0;

    std::string destinationFolder() const override { return folder; }
    std::string fileName() const override { return name; }
    std::string registration() const override { return inscricao; }
    void focusDestinationFolder() override { events.push_back("focus edtDestino"); }
    void focusFileName() override { events.push_back("focus edtArquivo"); }
    void showStatus(const std::string& text) override { events.push_back("status " + text); }
    void setProgressRange(std::int64_t minimum, std::int64_t maximum) override {
        events.push_back("range " + std::to_string(minimum) + ".." + std::to_string(maximum));
    }
    void setProgressPosition(std::int64_t position) override {
        events.push_back("position " + std::to_string(position));
    }
    void setProgressStep(std::int64_t step) override { events.push_back("step " + std::to_string(step)); }
    void stepProgress() override { ++steps; }
    void showExportPanel(bool exporting) override {
        events.push_back(exporting ? "panel pnlExportando" : "panel pnlBotoes");
    }
    MessageBoxes& messages() override { return *this; }

    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override {
        events.push_back("ask " + title + " | " + text + iconName(icon));
        return answerYes;
    }
    void inform(const std::string& title, const std::string& text, MessageIcon icon) override {
        events.push_back("inform " + title + " | " + text + iconName(icon));
    }
};

} // namespace kalvian::test
