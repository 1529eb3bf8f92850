#pragma once

#include "widgets/flat_button.h"

class QAction;

namespace kalvian {

// A flat push button that takes its caption, hint, enabled state and visibility from an action and runs
// the action when pressed.
class ActionButton : public FlatButton {
    Q_OBJECT

public:
    ActionButton(QAction* action, QWidget* parent);

private:
    void follow();

    QAction* m_action = nullptr;
};

} // namespace kalvian
