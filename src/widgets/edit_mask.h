#pragma once

#include <QChar>
#include <QString>

namespace kalvian {

// An edit mask in the form "!99/99/9999;1;_": the positions ("9" an optional digit, any other character a
// fixed literal; a leading "!" is accepted), then ";1" (literals are part of the text read back) or ";0"
// (they are not), then the character shown in unfilled positions. The two trailing fields are optional.
//
// What a masked edit holds is its content: one character per position, the literal where the mask has
// one, and a typed digit or a space (unfilled) everywhere else. It is kept apart from what is shown, so
// that a place filled with the very digit that shows unfilled places still reads back as typed.
class EditMask {
public:
    EditMask() = default;
    explicit EditMask(const QString& mask);

    bool isEmpty() const { return m_layout.isEmpty(); }
    int size() const { return static_cast<int>(m_layout.size()); }
    bool isLiteral(int position) const;
    QChar blank() const { return m_blank; }

    // A written text laid into the positions, literals matched: a digit fills the next digit position; a
    // literal of the mask met before its place leaves the places up to it unfilled; a literal met in its
    // place is passed; any other character leaves its place unfilled. What does not fit is dropped.
    QString lay(const QString& text) const;

    // What the control shows of a content: unfilled places as the blank character.
    QString shown(const QString& content) const;

    // The text read back from a content: unfilled places as spaces, the literals kept or left out.
    QString textOf(const QString& content) const;

    // The first position at or after `from` that takes a digit; -1 when there is none.
    int nextDigitPosition(int from) const;

    // The last position before `before` that takes a digit; -1 when there is none.
    int previousDigitPosition(int before) const;

    // The first position at or after `from` holding the literal `ch`; -1 when there is none.
    int nextLiteral(int from, QChar ch) const;

    // The content with the digit positions in [from, to) unfilled.
    QString cleared(const QString& content, int from, int to) const;

    static constexpr QChar kUnfilled = u' ';

private:
    static constexpr QChar kDigit = u'9';

    QString m_layout;
    bool m_keepLiterals = true;
    QChar m_blank = u'_';
};

} // namespace kalvian
