#pragma once

#include "vrk3/table_query.h"

#include <initializer_list>

namespace kalvian {

// Opens the queries each on a thread of its own, so that their tables are read side by side. The outcome
// is that of opening them one after another in the given order: the first one's failure is raised, and
// the queries after it are left closed.
void openSideBySide(std::initializer_list<TableQuery*> queries);

} // namespace kalvian
