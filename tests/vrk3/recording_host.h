#pragma once

#include "run/query_step.h"

#include <string>
#include <vector>

namespace kalvian::test {

// Records the window's side of the query step, in order.
class RecordingHost : public QueryStepHost {
public:
    void setWaitCursor(bool waiting) override { events.push_back(waiting ? "cursor sql" : "cursor default"); }
    void focusSourceFolder() override { events.push_back("focus edtOrigem"); }
    void disableExport() override { events.push_back("disable actExportar"); }
    void focusStartDate() override { events.push_back("focus edtDataIni"); }
    bool goOnBesideLockFiles(const std::string& warning) override {
        events.push_back("ask " + warning);
        return goOn;
    }
    std::vector<std::string> events;
    bool goOn = false; // the answer to the question about lock files
};

} // namespace kalvian::test
