#include "qt_locale/locale_date_separator.h"

namespace kalvian {

char localeDateSeparator(const QLocale& locale) {
    const QString format = locale.dateFormat(QLocale::ShortFormat);
    for (const QChar ch : format) {
        if (ch == u'/' || ch == u'-' || ch == u'.') {
            return static_cast<char>(ch.unicode());
        }
    }
    return '/';
}

} // namespace kalvian
