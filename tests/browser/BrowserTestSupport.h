// Shared by the browser view tests: one application object with a working
// WebEngine, waiting for a page, and synchronous access to its scripts.
#pragma once

#include "support/QtTestApplication.h"
#include "ui/qt/TWebBrowser.h"
#include "ui/qt/WebEngineSetUp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QSignalSpy>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>

#include <memory>
#include <optional>

namespace qvs::test {

inline ::testing::Environment* const WebEngineEnvironment =
    ::testing::AddGlobalTestEnvironment(new test::QtTestApplication(PrepareWebEngine));

// Processes events until condition holds, at most 20 s: long enough for a
// slow, shared machine; a hang still ends the test.
template <typename Condition> bool WaitUntil(Condition condition) {
    const QDeadlineTimer deadline(20000);
    while (!condition() && !deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return condition();
}

// The script's result; an invalid value when the page never answered.
inline QVariant RunScript(QWebEngineView& view, const QString& script) {
    auto result = std::make_shared<std::optional<QVariant>>();
    view.page()->runJavaScript(script, [result](const QVariant& value) { *result = value; });
    WaitUntil([&] { return result->has_value(); });
    return result->value_or(QVariant());
}

} // namespace qvs::test
