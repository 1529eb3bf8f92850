#include "widgets/custom_mask_edit.h"

#include <QApplication>
#include <QKeyEvent>

namespace kalvian {

namespace {

// Focus that leaves for a popup menu or another window comes back to the same place: no leaving.
bool staysInside(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

bool isAsciiDigit(QChar ch) {
    return ch >= u'0' && ch <= u'9';
}

bool isClipboardKey(const QKeyEvent* event) {
    return event->matches(QKeySequence::Copy) || event->matches(QKeySequence::Paste) ||
           event->matches(QKeySequence::Cut);
}

} // namespace

TCustomMaskEdit::TCustomMaskEdit(QWidget* parent) : QLineEdit(parent), m_beep([] { QApplication::beep(); }) {
    connect(this, &QLineEdit::textChanged, this, [this] {
        if (!m_rewriting) {
            reportShownChange();
        }
    });
}

void TCustomMaskEdit::reportShownChange() {
    if (displayText() != m_shown) {
        m_shown = displayText();
        emit changed();
    }
}

void TCustomMaskEdit::setEditMask(const QString& mask) {
    const QString text = Text();
    m_rewriting = true;
    m_maskText = mask;
    m_mask = EditMask(mask);
    QLineEdit::setInputMask(m_mask.isEmpty() ? QString() : m_mask.qtMask());
    QLineEdit::setText(m_mask.toShown(text));
    m_rewriting = false;
    reportShownChange();
}

QString TCustomMaskEdit::Text() const {
    return hasEditMask() ? m_mask.textOf(displayText()) : text();
}

void TCustomMaskEdit::setText(const QString& text) {
    m_rewriting = true;
    QLineEdit::setText(m_mask.toShown(text));
    m_rewriting = false;
    reportShownChange();
}

void TCustomMaskEdit::beep() const {
    m_beep();
}

void TCustomMaskEdit::doEnter(Qt::FocusReason reason) {
    m_textOnEnter = Text();
    if (m_autoSelect && reason != Qt::MouseFocusReason) {
        selectAll();
    }
    // QLineEdit already keeps the caret on a digit position while a mask is set.
    emit entered();
}

void TCustomMaskEdit::doExit() {
    emit exited();
}

void TCustomMaskEdit::keepFocus() {
    m_inside = true;
    setFocus(Qt::OtherFocusReason);
    selectAll();
}

void TCustomMaskEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!m_inside) {
        m_inside = true;
        doEnter(event->reason());
    }
}

void TCustomMaskEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    if (m_inside && !staysInside(event->reason())) {
        m_inside = false;
        doExit();
    }
}

void TCustomMaskEdit::keyPressEvent(QKeyEvent* event) {
    if (!hasEditMask() || isClipboardKey(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    if (event->key() == Qt::Key_Escape) {
        setText(m_textOnEnter);
        selectAll();
        event->accept();
        return;
    }
    const bool character = event->text().size() == 1 && event->text().at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (character) {
        typeUnderMask(event);
    } else {
        QLineEdit::keyPressEvent(event); // caret movement, deletion, undo and the like
    }
}

void TCustomMaskEdit::typeUnderMask(QKeyEvent* event) {
    const QChar ch = event->text().at(0);
    const int from = hasSelectedText() ? selectionStart() : cursorPosition();
    event->accept();
    if (isAsciiDigit(ch) && m_mask.nextDigitPosition(from) >= 0) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    // The caret passes a literal by itself once the part before it is full: the same literal typed there
    // ("31" then "/") closes that part, it does not skip the next one.
    const bool partJustFilled = from >= 2 && m_mask.nextLiteral(from - 1, ch) == from - 1 &&
                                !m_mask.isLiteral(from - 2) && displayText().at(from - 2) != m_mask.blank();
    if (partJustFilled) {
        return;
    }
    const int literal = isAsciiDigit(ch) ? -1 : m_mask.nextLiteral(from, ch);
    if (literal >= 0) {
        setCursorPosition(literal + 1);
    } else {
        beep();
    }
}

} // namespace kalvian
