#include "widgets/custom_mask_edit.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>

#include <algorithm>

namespace kalvian {

namespace {

// Focus that leaves for a popup menu or another window comes back to the same place: no leaving.
bool staysInside(Qt::FocusReason reason) {
    return reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason;
}

bool isAsciiDigit(QChar ch) {
    return ch >= u'0' && ch <= u'9';
}

bool isTypedCharacter(const QKeyEvent* event) {
    return event->text().size() == 1 && event->text().at(0).isPrint() &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

// A menu entry as Qt's own edit menu has it: Qt's text, in the language Qt speaks, and the shortcut.
void addEntry(QMenu& menu, const QString& text, QKeySequence::StandardKey key, bool enabled,
              const std::function<void()>& run) {
    QString caption = text;
    const QKeySequence shortcut(key);
    if (!shortcut.isEmpty()) {
        caption += u'\t' + shortcut.toString(QKeySequence::NativeText);
    }
    QAction* entry = menu.addAction(caption);
    entry->setEnabled(enabled);
    QObject::connect(entry, &QAction::triggered, &menu, run);
}

} // namespace

TCustomMaskEdit::TCustomMaskEdit(QWidget* parent)
    : FlatLineEdit(parent), m_beep([] { QApplication::beep(); }) {
    connect(this, &QLineEdit::textChanged, this, &TCustomMaskEdit::onTextChanged);
}

void TCustomMaskEdit::onTextChanged() {
    if (m_rewriting) {
        return;
    }
    if (hasEditMask() && text() != m_mask.shown(m_content)) {
        // Changed behind the mask's back (a middle-click paste, a call of QLineEdit's own): taken back.
        showContent(cursorPosition());
        return;
    }
    reportShownChange();
}

void TCustomMaskEdit::reportShownChange() {
    if (displayText() != m_shown) {
        m_shown = displayText();
        emit changed();
    }
}

void TCustomMaskEdit::showContent(int cursor) {
    m_rewriting = true;
    QLineEdit::setText(m_mask.shown(m_content));
    setCursorPosition(cursor);
    m_rewriting = false;
    reportShownChange();
}

void TCustomMaskEdit::setEditMask(const QString& mask) {
    const QString text = Text();
    m_maskText = mask;
    m_mask = EditMask(mask);
    // Under a mask every character comes as a key, and nothing is dropped in.
    setAttribute(Qt::WA_InputMethodEnabled, m_mask.isEmpty());
    setAcceptDrops(m_mask.isEmpty());
    if (m_mask.isEmpty()) {
        m_content.clear();
        m_rewriting = true;
        QLineEdit::setText(text);
        m_rewriting = false;
        reportShownChange();
        return;
    }
    m_content = m_mask.lay(text);
    showContent(m_mask.size());
}

QString TCustomMaskEdit::Text() const {
    return hasEditMask() ? m_mask.textOf(m_content) : text();
}

void TCustomMaskEdit::SetText(const QString& text) {
    if (!hasEditMask()) {
        QLineEdit::setText(text);
        return;
    }
    m_content = m_mask.lay(text);
    showContent(m_mask.size());
}

void TCustomMaskEdit::beep() const {
    m_beep();
}

void TCustomMaskEdit::doEnter(Qt::FocusReason reason) {
    m_textOnEnter = Text();
    if (reason != Qt::MouseFocusReason) {
        if (m_autoSelect) {
            selectAll();
        } else {
            deselect(); // a plain QLineEdit selects all by itself on Tab
            setCursorPosition(hasEditMask() ? std::max(m_mask.nextDigitPosition(0), 0) : 0);
        }
    }
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
    if (!hasEditMask() || isReadOnly()) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    event->accept();
    if (event->matches(QKeySequence::Cut)) {
        cutSelection();
    } else if (event->matches(QKeySequence::Paste)) {
        pasteClipboard();
    } else if (event->key() == Qt::Key_Escape) {
        SetText(m_textOnEnter);
        selectAll();
    } else if (event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete) {
        erase(event->key() == Qt::Key_Backspace);
    } else if (isTypedCharacter(event)) {
        if (!typeCharacter(event->text().at(0))) {
            beep();
        }
    } else {
        QLineEdit::keyPressEvent(event); // caret movement, selection, copy; an edit is taken back
    }
}

bool TCustomMaskEdit::typeCharacter(QChar ch) {
    const int from = hasSelectedText() ? selectionStart() : cursorPosition();
    if (isAsciiDigit(ch)) {
        const int position = m_mask.nextDigitPosition(from);
        if (position < 0) {
            return false;
        }
        if (hasSelectedText()) {
            m_content = m_mask.cleared(m_content, selectionStart(), selectionEnd());
        }
        m_content[position] = ch;
        // The caret passes the literals after a filled place.
        const int next = m_mask.nextDigitPosition(position + 1);
        showContent(next < 0 ? m_mask.size() : next);
        return true;
    }
    // The caret passed a literal by itself once the part before it was full: the same literal typed there
    // ("31" then "/") closes that part, it does not skip the next one.
    const bool partJustFilled = from >= 2 && m_mask.nextLiteral(from - 1, ch) == from - 1 &&
                                !m_mask.isLiteral(from - 2) && m_content.at(from - 2) != EditMask::kUnfilled;
    if (partJustFilled) {
        return true;
    }
    const int literal = m_mask.nextLiteral(from, ch);
    if (literal < 0) {
        return false;
    }
    setCursorPosition(literal + 1);
    return true;
}

void TCustomMaskEdit::erase(bool backward) {
    if (hasSelectedText()) {
        clearSelection();
        return;
    }
    const int position = backward ? m_mask.previousDigitPosition(cursorPosition())
                                  : m_mask.nextDigitPosition(cursorPosition());
    if (position < 0) {
        return;
    }
    m_content = m_mask.cleared(m_content, position, position + 1);
    showContent(backward ? position : position + 1);
}

void TCustomMaskEdit::clearSelection() {
    const int start = selectionStart();
    m_content = m_mask.cleared(m_content, start, selectionEnd());
    showContent(start);
}

void TCustomMaskEdit::cutSelection() {
    if (!hasSelectedText()) {
        return;
    }
    copy();
    clearSelection();
}

void TCustomMaskEdit::pasteClipboard() {
    // Typed in, character by character; one beep when some of it finds no place.
    bool refused = false;
    for (const QChar ch : QGuiApplication::clipboard()->text()) {
        refused = !typeCharacter(ch) || refused;
    }
    if (refused) {
        beep();
    }
}

void TCustomMaskEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (!hasEditMask()) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    // Qt's own menu would edit the shown text behind the mask: the same entries, done through the mask.
    QMenu menu(this);
    const bool editable = !isReadOnly();
    const bool selected = hasSelectedText();
    addEntry(menu, QLineEdit::tr("Cu&t"), QKeySequence::Cut, editable && selected,
             [this] { cutSelection(); });
    addEntry(menu, QLineEdit::tr("&Copy"), QKeySequence::Copy, selected, [this] { copy(); });
    addEntry(menu, QLineEdit::tr("&Paste"), QKeySequence::Paste,
             editable && !QGuiApplication::clipboard()->text().isEmpty(), [this] { pasteClipboard(); });
    addEntry(menu, QLineEdit::tr("Delete"), QKeySequence::UnknownKey, editable && selected,
             [this] { clearSelection(); });
    menu.addSeparator();
    addEntry(menu, QLineEdit::tr("Select All"), QKeySequence::SelectAll, true, [this] { selectAll(); });
    menu.exec(event->globalPos());
    event->accept();
}

} // namespace kalvian
