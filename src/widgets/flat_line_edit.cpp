#include "widgets/flat_line_edit.h"

#include "widgets/flat_frame.h"

#include <QPainter>

namespace kalvian {

FlatLineEdit::FlatLineEdit(QWidget* parent) : QLineEdit(parent) {
    setFlat(true);
}

void FlatLineEdit::setFlat(bool on) {
    m_flat = on;
    setFrame(!on);
    const int margin = on ? 1 : 0; // room for the frame drawn over the edit
    setTextMargins(margin, margin, margin, margin);
    update();
}

void FlatLineEdit::paintEvent(QPaintEvent* event) {
    QLineEdit::paintEvent(event);
    if (m_flat) {
        QPainter painter(this);
        drawFlatFrame(painter, *this);
    }
}

} // namespace kalvian
