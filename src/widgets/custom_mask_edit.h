#pragma once

#include "widgets/edit_mask.h"

#include <QLineEdit>

#include <functional>

namespace kalvian {

// A single-line edit with an optional edit mask (see EditMask). Under a mask it always shows every
// position, takes digits into digit positions only, jumps to the next part when a literal is typed, beeps
// at anything else, reads unfilled positions back as spaces, and lets Escape undo what was typed since the
// field was entered. Without a mask it is a plain line edit.
//
// Entering and leaving are the moments the keyboard focus arrives from, or goes to, another control;
// the window losing activation or a popup menu opening is neither.
class TCustomMaskEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit TCustomMaskEdit(QWidget* parent = nullptr);

    QString editMask() const { return m_maskText; }
    // A non-empty mask takes the current text into its positions; the empty mask leaves a plain edit that
    // shows the text it had.
    void setEditMask(const QString& mask);
    bool hasEditMask() const { return !m_mask.isEmpty(); }

    // Under a mask: what is shown, with unfilled positions as spaces and the literals kept. Otherwise the
    // text itself.
    QString Text() const;
    // Under a mask the characters are laid into the positions, literals matched.
    void setText(const QString& text);

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
    // click) and signals entered().
    virtual void doEnter(Qt::FocusReason reason);
    // Exit processing: every position of these masks is optional, so nothing is refused; signals exited().
    virtual void doExit();

    // Keeps the focus in the field while it is being left, with the whole text selected.
    void keepFocus();

    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void typeUnderMask(QKeyEvent* event);
    void reportShownChange();

    EditMask m_mask;
    QString m_maskText;
    QString m_shown;
    QString m_textOnEnter;
    std::function<void()> m_beep;
    bool m_autoSelect = true;
    bool m_inside = false;
    bool m_rewriting = false;
};

} // namespace kalvian
