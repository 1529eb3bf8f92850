#pragma once

#include "common/message_boxes.h"

#include <string>

namespace kalvian::test {

// How the recording fakes write a box's icon in what they record.
inline std::string iconName(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return " (information)";
    case MessageIcon::Warning:
        return " (warning)";
    case MessageIcon::Question:
        return " (question)";
    case MessageIcon::Stop:
        return " (stop)";
    }
    return {};
}

} // namespace kalvian::test
