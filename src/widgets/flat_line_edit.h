#pragma once

#include <QLineEdit>

namespace kalvian {

// A single-line edit with the window's flat look: a one-pixel frame in the window-frame colour round the
// edit's own background, instead of the style's frame. setFlat(false) gives the style's frame back.
class FlatLineEdit : public QLineEdit {
    Q_OBJECT

public:
    explicit FlatLineEdit(QWidget* parent = nullptr);

    bool flat() const { return m_flat; }
    void setFlat(bool on);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_flat = true;
};

} // namespace kalvian
