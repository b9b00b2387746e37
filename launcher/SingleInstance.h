// The start-up test for a game client that is already running: its window
// is titled "Quorvash" and has the class name "MainClass.MainClass".
#pragma once

#include "system/IPrompts.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace qvs {

class SingleInstance {
public:
    using Search = std::function<std::uintptr_t()>;
    using Sleep = std::function<void(std::chrono::milliseconds)>;

    // By default the desktop is searched and the thread really sleeps.
    SingleInstance();
    SingleInstance(Search search, Sleep sleep);

    // The matching window, 0 when there is none.
    std::uintptr_t SearchForHandle();

    // Searches once, then waits 1100 ms in steps of 100 ms when nothing was
    // found. A running client gets the player told so; the caller then ends
    // the process with exit code 1. Returns whether one was found.
    bool FoundRunningInstance(IPrompts& prompts);

private:
    Search search_;
    Sleep sleep_;
};

} // namespace qvs
