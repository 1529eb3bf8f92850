#include "console_view.h"

namespace kalvian {

ConsoleView::ConsoleView(Target target, bool replace, std::ostream& err, bool showProgress)
    : m_target(std::move(target)), m_replace(replace), m_err(err), m_showProgress(showProgress) {}

ConsoleView::~ConsoleView() {
    if (m_drawn) {
        m_err << '\n';
    }
}

void ConsoleView::showStatus(const std::string& text) {
    m_status = text;
    m_shownPercent = -1;
    drawProgress();
}

void ConsoleView::setProgressRange(std::int64_t minimum, std::int64_t maximum) {
    m_minimum = minimum;
    m_maximum = maximum;
}

void ConsoleView::setProgressPosition(std::int64_t position) {
    m_position = position;
}

void ConsoleView::stepProgress() {
    m_position += m_step;
    drawProgress();
}

void ConsoleView::drawProgress() {
    if (!m_showProgress) {
        return;
    }
    const std::int64_t span = m_maximum - m_minimum;
    const int percent = span > 0 ? static_cast<int>((m_position - m_minimum) * 100 / span) : 100;
    if (percent == m_shownPercent) {
        return;
    }
    m_shownPercent = percent;
    m_err << "\r\033[K" << m_status << ' ' << percent << '%' << std::flush;
    m_drawn = true;
}

bool ConsoleView::askYesNo(const std::string&, const std::string&, MessageIcon) {
    return m_replace;
}

void ConsoleView::inform(const std::string&, const std::string& text, MessageIcon) {
    m_lastNotice = text;
}

} // namespace kalvian
