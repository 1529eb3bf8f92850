#include "widgets/flat_frame.h"

#include <QPainter>
#include <QPalette>
#include <QWidget>

namespace kalvian {

QColor windowFrameColour(const QPalette& palette) {
    return palette.color(QPalette::Active, QPalette::WindowText);
}

void drawFlatFrame(QPainter& painter, const QWidget& widget) {
    const qreal ratio = widget.devicePixelRatioF();
    painter.save();
    // Device pixels: each side is a band one pixel wide ending at the widget's edge, which holds exactly
    // one pixel centre however the edge falls.
    painter.setWorldTransform(QTransform::fromScale(1 / ratio, 1 / ratio), true);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const qreal width = widget.width() * ratio;
    const qreal height = widget.height() * ratio;
    const QColor colour = windowFrameColour(widget.palette());
    painter.fillRect(QRectF(0, 0, width, 1), colour);
    painter.fillRect(QRectF(0, height - 1, width, 1), colour);
    painter.fillRect(QRectF(0, 0, 1, height), colour);
    painter.fillRect(QRectF(width - 1, 0, 1, height), colour);
    painter.restore();
}

} // namespace kalvian
