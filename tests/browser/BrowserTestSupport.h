// Shared by the browser view tests: one application object with a working
// WebEngine, and synchronous access to a page's scripts and loads.
#pragma once

#include "support/QtTestApplication.h"
#include "windows/TWebBrowser.h"
#include "windows/WebEngineSetUp.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVariant>
#include <QWebEnginePage>

#include <memory>
#include <ostream>

// Readable failure messages for Qt strings (found by argument lookup).
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace qvs::test {

// Long enough for a slow, shared machine; a hang still ends the test.
inline constexpr int LongWaitMs = 20000;

inline ::testing::Environment* const WebEngineEnvironment =
    ::testing::AddGlobalTestEnvironment(new test::QtTestApplication(PrepareWebEngine));

// The script's result; an invalid value when the page never answered.
inline QVariant RunScript(QWebEngineView& view, const QString& script) {
    struct State {
        QVariant result;
        bool done = false;
        QEventLoop loop;
    };
    auto state = std::make_shared<State>();
    view.page()->runJavaScript(script, [weak = std::weak_ptr<State>(state)](const QVariant& v) {
        if (auto s = weak.lock()) {
            s->result = v;
            s->done = true;
            s->loop.quit();
        }
    });
    QTimer::singleShot(LongWaitMs, &state->loop, &QEventLoop::quit);
    if (!state->done) {
        state->loop.exec();
    }
    return state->result;
}

inline QString BodyText(QWebEngineView& view) {
    return RunScript(view, QStringLiteral("document.body ? document.body.innerText : ''"))
        .toString();
}

// Waits until the spy on DocumentComplete has seen count documents.
inline bool WaitForDocuments(QSignalSpy& spy, int count) {
    while (spy.count() < count) {
        if (!spy.wait(LongWaitMs)) {
            return false;
        }
    }
    return true;
}

// Processes events until condition holds, at most LongWaitMs.
template <typename Condition> bool WaitUntil(Condition condition) {
    QElapsedTimer elapsed;
    elapsed.start();
    while (!condition()) {
        if (elapsed.elapsed() > LongWaitMs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

} // namespace qvs::test
