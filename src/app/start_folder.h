#pragma once

#include <QString>

namespace kalvian {

// The folder the window starts in (the source and destination fields, the file dialogs): the current
// folder, unless it is the program's own folder, where a double click in Explorer or a shortcut that knows
// no better starts it; that folder holds no tables and is often closed to writing, so the user's Documents
// folder (or home folder, when there is no Documents folder) is taken instead.
QString startFolder(const QString& current, const QString& programFolder, const QString& documents);

// The same, from the process's current folder, its program's folder and the user's folders.
QString startFolder();

} // namespace kalvian
