#include "dates/date_pattern.h"

#include "common/date_format.h"

namespace kalvian {

std::string DatePattern::text() const {
    return std::string("dd") + m_separator + "mm" + m_separator + (m_century ? "yyyy" : "yy");
}

std::string DatePattern::format(double serial) const {
    std::string text = formatDate(serial, m_separator);
    if (!m_century) {
        text.erase(6, 2); // "dd/mm/yy"
    }
    return text;
}

} // namespace kalvian
