#pragma once

#include "app/window_messages.h"
#include "support/icon_name.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace kalvian::test {

// The window's boxes for tests: records every box, answers the questions in the order given (No once the
// answers run out), and can act while a box is "open".
class AnsweringMessages : public WindowMessages {
public:
    std::vector<std::string> shown;
    std::deque<bool> answers;
    std::function<void()> whileShown;

    bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) override {
        record("ask " + title + " | " + text + iconName(icon));
        if (answers.empty()) {
            return false;
        }
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void inform(const std::string& title, const std::string& text, MessageIcon icon) override {
        record("inform " + title + " | " + text + iconName(icon));
    }
    void showError(const std::string& message) override { record("error " + message); }

private:
    void record(std::string box) {
        shown.push_back(std::move(box));
        if (whileShown) {
            whileShown();
        }
    }
};

} // namespace kalvian::test
