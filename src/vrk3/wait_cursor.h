#pragma once

#include "vrk3/query_host.h"

namespace kalvian {

// The database-wait cursor for the life of a scope, however it ends.
class WaitCursor {
public:
    explicit WaitCursor(QueryHost& host) : m_host(host) { m_host.setWaitCursor(true); }
    ~WaitCursor() { m_host.setWaitCursor(false); }

    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    QueryHost& m_host;
};

} // namespace kalvian
