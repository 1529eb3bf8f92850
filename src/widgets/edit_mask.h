#pragma once

#include <QChar>
#include <QString>

namespace kalvian {

// An edit mask in the form "!99/99/9999;1;_": the positions ("9" an optional digit, any other character a
// fixed literal; a leading "!" is accepted), then ";1" (literals are part of the text read back) or ";0"
// (they are not), then the character shown in unfilled positions. The two trailing fields are optional.
class EditMask {
public:
    EditMask() = default;
    explicit EditMask(const QString& mask);

    bool isEmpty() const { return m_layout.isEmpty(); }
    int size() const { return static_cast<int>(m_layout.size()); }
    bool isLiteral(int position) const;
    QChar blank() const { return m_blank; }

    // The same mask in QLineEdit's input mask syntax.
    QString qtMask() const;

    // The text read back from what the control shows: unfilled positions as spaces, in place.
    QString textOf(const QString& shown) const;

    // The given text with its spaces in digit positions turned into the blank character, so that the
    // control lays every character into its own position instead of closing up the gaps.
    QString toShown(const QString& text) const;

    // The first position at or after `from` that takes a digit; -1 when there is none.
    int nextDigitPosition(int from) const;

    // The first position at or after `from` holding the literal `ch`; -1 when there is none.
    int nextLiteral(int from, QChar ch) const;

private:
    static constexpr QChar kDigit = u'9';

    QString m_layout;
    bool m_keepLiterals = true;
    QChar m_blank = u'_';
};

} // namespace kalvian
