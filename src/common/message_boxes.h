#pragma once

#include <string>

namespace kalvian {

enum class MessageIcon { Information, Warning, Question, Stop };

// Modal questions and notices with fixed titles and texts (UTF-8). The window shows real boxes; tests and
// the command line answer them.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;

    // A Yes/No question with "No" as the default; true only on an explicit Yes.
    virtual bool askYesNo(const std::string& title, const std::string& text, MessageIcon icon) = 0;
    // A notice with an OK button.
    virtual void inform(const std::string& title, const std::string& text, MessageIcon icon) = 0;
};

} // namespace kalvian
