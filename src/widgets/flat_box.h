#pragma once

#include <QFrame>

namespace kalvian {

// A box with the window's flat look: a one-pixel border (its contents start inside it) drawn in the
// window-frame colour on the outermost device pixels, so that it stays whole at any scale.
class FlatBox : public QFrame {
    Q_OBJECT

public:
    explicit FlatBox(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace kalvian
