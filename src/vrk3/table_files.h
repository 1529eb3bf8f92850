#pragma once

#include "paradox/table.h"

#include <optional>
#include <string>
#include <string_view>

namespace kalvian {

// The table files a source folder must hold, in the order they are checked.
inline constexpr const char* kIssuedTableFile = "DSEMI.DB";
inline constexpr const char* kReceivedTableFile = "DSREC.DB";
inline constexpr const char* kClientTableFile = "DSCLI.DB";

// The file of that name in the folder, its letter case ignored ("DSEMI.DB", "dsemi.db" and "DSEMI.db" all
// serve); the exact name wins when several differ only in case. Nothing when there is none.
std::optional<std::string> findTableFile(std::string_view folder, std::string_view name);

// The path of the table file of that name in the folder: the one found as above, or the name joined to the
// folder when there is none (its opening then says it is missing).
std::string sourceTablePath(std::string_view folder, std::string_view name);

class QueryHost;

// The folder check of the query step: the first missing table stops it, after the folder field has taken
// the focus, with a two-line message naming the table.
void checkSourceFiles(std::string_view folder, QueryHost& host);

} // namespace kalvian
