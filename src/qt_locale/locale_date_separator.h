#pragma once

#include <QLocale>

namespace kalvian {

// The date separator of a locale's short date format: the first "/", "-" or "." in it, "/" when it has
// none of them.
char localeDateSeparator(const QLocale& locale);

} // namespace kalvian
