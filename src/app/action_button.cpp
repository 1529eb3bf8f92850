#include "action_button.h"

#include <QAction>

namespace kalvian {

ActionButton::ActionButton(QAction* action, QWidget* parent) : FlatButton(parent), m_action(action) {
    connect(m_action, &QAction::changed, this, &ActionButton::follow);
    connect(this, &QPushButton::clicked, m_action, &QAction::trigger);
    follow();
}

void ActionButton::follow() {
    setText(m_action->text());
    setToolTip(m_action->toolTip());
    setEnabled(m_action->isEnabled());
    setVisible(m_action->isVisible());
}

} // namespace kalvian
