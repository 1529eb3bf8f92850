#include "widgets/flat_button.h"

#include "widgets/flat_frame.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace kalvian {

FlatButton::FlatButton(QWidget* parent) : QPushButton(parent) {
    setFlat(true);
}

void FlatButton::paintEvent(QPaintEvent* /*event*/) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.fillRect(rect(), palette().color(isDown() ? QPalette::Mid : QPalette::Button));
    // The style draws the caption (shifted while pressed, grey while disabled) and the focus mark only.
    painter.drawControl(QStyle::CE_PushButtonLabel, option);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = rect().adjusted(3, 3, -3, -3);
        focus.backgroundColor = palette().color(QPalette::Button);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
    drawFlatFrame(painter, *this);
}

} // namespace kalvian
