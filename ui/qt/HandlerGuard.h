// The one place where a window's slots and event handlers meet errors. Qt
// does not let an exception pass through its event loop (a modal dialog can
// be left half closed, or the process aborted), so every handler of a window
// runs through the window's guard: the error is reported (shown or logged)
// and the window goes on.
#pragma once

#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace qvs {

class HandlerGuard {
public:
    using Report = std::function<void(const std::string& message)>;

    // Without a report the message goes to the Qt log (standard error).
    explicit HandlerGuard(Report report = {});

    template <typename Work> void Run(Work&& work) const noexcept {
        try {
            std::forward<Work>(work)();
        } catch (const std::exception& error) {
            Tell(error.what());
        } catch (...) {
            Tell("Unknown error");
        }
    }

    // An event handler override: handle() runs under this guard; an event
    // whose handler failed counts as handled.
    template <typename Handle> bool Event(Handle handle) const noexcept {
        bool handled = true;
        Run([&handled, &handle] { handled = handle(); });
        return handled;
    }

    // A slot for connect that runs work under a copy of this guard, so the
    // slot stays sound while the window's members are taken down.
    template <typename Work> auto Slot(Work work) const {
        return [guard = *this, work = std::move(work)] { guard.Run(work); };
    }

private:
    void Tell(const std::string& message) const noexcept;

    Report report_;
};

} // namespace qvs
