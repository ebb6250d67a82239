#include "notify/window_hold.h"

#include <algorithm>

namespace notify {

namespace {
constexpr const char* kHolds = "parvelloHolds";
}

WindowHold::WindowHold(QWidget* window) : m_window(window) {
    if (!window)
        return;
    window->setProperty(kHolds, window->property(kHolds).toInt() + 1);
    window->setEnabled(false);
}

WindowHold::~WindowHold() {
    if (!m_window)
        return;
    const int holds = std::max(0, m_window->property(kHolds).toInt() - 1);
    m_window->setProperty(kHolds, holds);
    if (holds == 0)
        m_window->setEnabled(true);
}

} // namespace notify
