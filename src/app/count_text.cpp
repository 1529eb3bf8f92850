#include "count_text.h"

namespace kalvian {

QString formatCount(std::int64_t count, const QString& groupSeparator) {
    if (count == 0) {
        return QStringLiteral(" ");
    }
    const QString digits = QString::number(count);
    QString text;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0) {
            text += groupSeparator;
        }
        text += digits[i];
    }
    return text;
}

} // namespace kalvian
