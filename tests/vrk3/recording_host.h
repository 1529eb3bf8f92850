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
    std::vector<std::string> events;
};

} // namespace kalvian::test
