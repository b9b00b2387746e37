// Shared by the window tests: one application object, and driving a modal
// window from inside its own event loop.
#pragma once

#include "support/QtTestApplication.h"

#include <QDialog>
#include <QTimer>

#include <functional>

namespace qvs::test {

inline ::testing::Environment* const QtEnvironment =
    ::testing::AddGlobalTestEnvironment(new QtTestApplication);

// Queues action to run once the window's modal loop has started, then runs
// show (which enters the loop).
template <typename Show>
auto RunModal(QDialog& window, const std::function<void()>& action, Show show) {
    QTimer::singleShot(0, &window, action);
    return show();
}

} // namespace qvs::test
