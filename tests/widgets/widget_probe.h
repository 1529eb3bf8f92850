#pragma once

#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

namespace kalvian::test {

// Shows a top-level window and waits until it is the active one, so that focus changes are real.
inline void showActive(QWidget& window) {
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

// The bounding box of the pixels inside `area` that differ from `background`; empty when there are none.
inline QRect inkBounds(const QImage& image, const QRect& area, QColor background) {
    QRect bounds;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y) != background) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// The darkest pixel inside `area`, by lightness.
inline QColor darkestPixel(const QImage& image, const QRect& area) {
    QColor darkest = Qt::white;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (image.pixelColor(x, y).lightness() < darkest.lightness()) {
                darkest = image.pixelColor(x, y);
            }
        }
    }
    return darkest;
}

} // namespace kalvian::test
