// Driving a modal window from inside its own event loop.
#pragma once

#include <QDialog>
#include <QTimer>

#include <functional>

namespace qvs::test {

// Queues action to run once the window's modal loop has started, then runs
// show (which enters the loop). A window the action leaves open is closed
// after a while with result -1, so a broken test fails instead of hanging.
template <typename Show>
auto RunModal(QDialog& window, const std::function<void()>& action, Show show) {
    QTimer::singleShot(0, &window, action);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &window, [&window] {
        if (window.isVisible()) {
            window.done(-1);
        }
    });
    guard.start(20000);
    return show();
}

} // namespace qvs::test
