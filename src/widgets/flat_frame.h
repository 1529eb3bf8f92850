#pragma once

#include <QColor>

class QPainter;
class QPalette;
class QWidget;

namespace kalvian {

// The window-frame colour of the system, which frames every flat control: the palette's window text
// colour, the same whether the control is enabled or not.
QColor windowFrameColour(const QPalette& palette);

// Frames the widget with a line one device pixel wide on its outermost pixels, whatever the screen's
// scale: a line one logical pixel wide lands between device pixels at 125% and is lost under the fill.
// Drawn last, over whatever the widget painted.
void drawFlatFrame(QPainter& painter, const QWidget& widget);

} // namespace kalvian
