#include "widgets/flat_box.h"

#include "widgets/flat_frame.h"

#include <QPainter>

namespace kalvian {

FlatBox::FlatBox(QWidget* parent) : QFrame(parent) {
    // A plain box line of one pixel reserves the border; painting it is left to drawFlatFrame.
    setFrameStyle(QFrame::Box | QFrame::Plain);
}

void FlatBox::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    drawFlatFrame(painter, *this);
}

} // namespace kalvian
