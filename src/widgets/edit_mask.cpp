#include "widgets/edit_mask.h"

namespace kalvian {

EditMask::EditMask(const QString& mask) {
    QString body = mask;
    const auto trailingField = [&body] { return body.size() >= 2 && body.at(body.size() - 2) == u';'; };
    if (trailingField()) {
        m_blank = body.back();
        body.chop(2);
    }
    if (trailingField() && (body.back() == u'0' || body.back() == u'1')) {
        m_keepLiterals = body.back() == u'1';
        body.chop(2);
    }
    // "!" only says how unfilled positions read back; here they always read as spaces in place.
    if (body.startsWith(u'!')) {
        body.remove(0, 1);
    }
    m_layout = body;
}

bool EditMask::isLiteral(int position) const {
    return m_layout.at(position) != kDigit;
}

QString EditMask::qtMask() const {
    QString mask;
    for (const QChar ch : m_layout) {
        if (ch == kDigit) {
            mask += u'0'; // Qt's optional digit
        } else {
            mask += u'\\';
            mask += ch;
        }
    }
    return mask + u';' + m_blank;
}

QString EditMask::textOf(const QString& shown) const {
    QString text;
    for (int i = 0; i < shown.size() && i < size(); ++i) {
        if (!isLiteral(i)) {
            text += shown.at(i) == m_blank ? QChar(u' ') : shown.at(i);
        } else if (m_keepLiterals) {
            text += shown.at(i);
        }
    }
    return text;
}

QString EditMask::toShown(const QString& text) const {
    QString shown = text;
    for (int i = 0; i < shown.size() && i < size(); ++i) {
        if (!isLiteral(i) && shown.at(i) == u' ') {
            shown[i] = m_blank;
        }
    }
    return shown;
}

int EditMask::nextDigitPosition(int from) const {
    for (int i = from; i < size(); ++i) {
        if (!isLiteral(i)) {
            return i;
        }
    }
    return -1;
}

int EditMask::nextLiteral(int from, QChar ch) const {
    for (int i = from; i < size(); ++i) {
        if (isLiteral(i) && m_layout.at(i) == ch) {
            return i;
        }
    }
    return -1;
}

} // namespace kalvian
