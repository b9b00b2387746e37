// Shared by the window tests: one application object, and driving a modal
// window from inside its own event loop.
#pragma once

#include "launcher/ModalResult.h"
#include "support/QtTestApplication.h"

#include <QTimer>

#include <functional>

namespace qvs::test {

inline ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtTestApplication);

// Queues action to run once the window's modal loop has started, then shows
// the window with args (which enters the loop).
template <typename Window, typename... Args>
ModalResult RunModal(Window& window, const std::function<void()>& action, const Args&... args) {
    QTimer::singleShot(0, &window, action);
    return window.ShowModal(args...);
}

} // namespace qvs::test
