#pragma once

#include "widgets/edit_mask.h"
#include "widgets/flat_line_edit.h"

#include <functional>

namespace kalvian {

// A single-line edit with an optional edit mask (see EditMask). Under a mask it always shows every
// position, takes digits into digit positions only, jumps to the next part when a literal is typed, beeps
// at anything else, reads filled positions back as typed and unfilled ones as spaces, whatever the blank
// character is, and lets Escape undo what was typed since the field was entered. Without a mask it is a
// plain line edit.
//
// Under a mask the edit keeps its content itself and shows it; every edit goes through it (typing,
// deletion, cut and paste by keys or by its menu), and any other change of the shown text (a middle-click
// paste, a call of QLineEdit's own) is taken back.
//
// Entering and leaving are the moments the keyboard focus arrives from, or goes to, another control;
// the window losing activation or a popup menu opening is neither.
class TCustomMaskEdit : public FlatLineEdit {
    Q_OBJECT

public:
    explicit TCustomMaskEdit(QWidget* parent = nullptr);

    QString editMask() const { return m_maskText; }
    // A non-empty mask takes the current text into its positions; the empty mask leaves a plain edit that
    // shows the text it had.
    void setEditMask(const QString& mask);
    bool hasEditMask() const { return !m_mask.isEmpty(); }

    // The Text property. Under a mask: the filled positions as typed, unfilled ones as spaces, the literals
    // kept (unless the mask leaves them out). Otherwise the text itself.
    QString Text() const;
    // Under a mask the characters are laid into the positions, literals matched.
    void SetText(const QString& text);

    bool autoSelect() const { return m_autoSelect; }
    void setAutoSelect(bool on) { m_autoSelect = on; }

    // Replaces the sound made when a typed character is refused (the system beep by default).
    void setBeep(std::function<void()> beep) { m_beep = std::move(beep); }

signals:
    // After every change of the text shown, whatever its cause; never for a step that shows the same text.
    void changed();
    void entered();
    void exited();

protected:
    void beep() const;

    // Enter processing: remembers the text for Escape, selects it all (unless the focus came from a mouse
    // click) and signals entered(); with nothing selected, the caret goes to a digit position.
    virtual void doEnter(Qt::FocusReason reason);
    // Exit processing: every position of these masks is optional, so nothing is refused; signals exited().
    virtual void doExit();

    // Keeps the focus in the field while it is being left, with the whole text selected.
    void keepFocus();

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // The plain edit's text goes through the Text property only, which honours the mask.
    using FlatLineEdit::setText;
    using FlatLineEdit::text;

    // Puts a typed character in; false when the mask has no place for it.
    bool typeCharacter(QChar ch);
    void erase(bool backward);
    void cutSelection();
    void pasteClipboard();
    void clearSelection();
    // Shows the content with the caret at `cursor`.
    void showContent(int cursor);
    void onTextChanged();
    void reportShownChange();

    EditMask m_mask;
    QString m_maskText;
    QString m_content;
    QString m_shown;
    QString m_textOnEnter;
    std::function<void()> m_beep;
    bool m_autoSelect = true;
    bool m_inside = false;
    bool m_rewriting = false;
};

} // namespace kalvian
