#include "widgets/edit_mask.h"

#include <algorithm>

namespace kalvian {

namespace {

bool isAsciiDigit(QChar ch) {
    return ch >= u'0' && ch <= u'9';
}

} // namespace

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

QString EditMask::lay(const QString& text) const {
    QString content = cleared(m_layout, 0, size());
    int position = 0;
    for (qsizetype next = 0; next < text.size() && position < size();) {
        const QChar ch = text.at(next);
        if (isLiteral(position)) {
            // A character that is not this literal waits for the next position.
            next += ch == m_layout.at(position) ? 1 : 0;
            ++position;
            continue;
        }
        ++next;
        if (isAsciiDigit(ch)) {
            content[position++] = ch;
            continue;
        }
        const int literal = nextLiteral(position, ch);
        position = literal >= 0 ? literal + 1 : position + 1;
    }
    return content;
}

QString EditMask::shown(const QString& content) const {
    QString shown = content;
    for (int i = 0; i < shown.size() && i < size(); ++i) {
        if (!isLiteral(i) && shown.at(i) == kUnfilled) {
            shown[i] = m_blank;
        }
    }
    return shown;
}

QString EditMask::textOf(const QString& content) const {
    QString text;
    for (int i = 0; i < content.size() && i < size(); ++i) {
        if (!isLiteral(i) || m_keepLiterals) {
            text += content.at(i);
        }
    }
    return text;
}

int EditMask::nextDigitPosition(int from) const {
    for (int i = std::max(from, 0); i < size(); ++i) {
        if (!isLiteral(i)) {
            return i;
        }
    }
    return -1;
}

int EditMask::previousDigitPosition(int before) const {
    for (int i = std::min(before, size()) - 1; i >= 0; --i) {
        if (!isLiteral(i)) {
            return i;
        }
    }
    return -1;
}

int EditMask::nextLiteral(int from, QChar ch) const {
    for (int i = std::max(from, 0); i < size(); ++i) {
        if (isLiteral(i) && m_layout.at(i) == ch) {
            return i;
        }
    }
    return -1;
}

QString EditMask::cleared(const QString& content, int from, int to) const {
    QString result = content;
    for (int i = std::max(from, 0); i < to && i < size() && i < result.size(); ++i) {
        if (!isLiteral(i)) {
            result[i] = kUnfilled;
        }
    }
    return result;
}

} // namespace kalvian
