#pragma once

#include "common/message_boxes.h"

#include <string>

namespace kalvian {

// The window's message boxes: the questions and notices of the export, and the error box that shows every
// failure of a step.
class WindowMessages : public MessageBoxes {
public:
    // A modal box with an OK button and the stop icon, captioned with the program's title; the text is
    // shown with a final period (withFinalPeriod).
    virtual void showError(const std::string& message) = 0;
};

} // namespace kalvian
