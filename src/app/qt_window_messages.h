#pragma once

#include "app/window_messages.h"

class QWidget;

namespace kalvian {

// The window's message boxes as real modal QMessageBox dialogs over the owner.
class QtWindowMessages : public WindowMessages {
public:
    explicit QtWindowMessages(QWidget* owner) : m_owner(owner) {}

    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override;
    void inform(const std::string& title, const std::string& text, MessageIcon icon) override;
    void showError(const std::string& message) override;

private:
    QWidget* m_owner = nullptr;
};

} // namespace kalvian
