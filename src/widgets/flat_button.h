#pragma once

#include <QPushButton>

namespace kalvian {

// A push button with the window's flat look: the button face within a one-pixel frame in the
// window-frame colour, a darker face while pressed, and none of the style's rounded, shaded bevel.
class FlatButton : public QPushButton {
    Q_OBJECT

public:
    explicit FlatButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kalvian
