#pragma once

namespace kalvian {

// What opening the source tables needs of the window.
class QueryHost {
public:
    virtual ~QueryHost() = default;

    // The database-wait cursor over the window while true.
    virtual void setWaitCursor(bool waiting) = 0;
    // The focus to the source folder field (edtOrigem).
    virtual void focusSourceFolder() = 0;
};

} // namespace kalvian
