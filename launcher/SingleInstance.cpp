#include "launcher/SingleInstance.h"

#include "platform/WindowSearch.h"

#include <string>
#include <string_view>
#include <thread>

namespace qvs {

namespace {

constexpr std::chrono::milliseconds WaitStep{100};
constexpr std::chrono::milliseconds WaitTotal{1100};

// clang-format off
constexpr std::string_view AlreadyRunningText = "You are already running Quorvash.  Press <Ctrl><Alt><Delete> and kill the application through Windows Task Manager.";
// clang-format on

} // namespace

SingleInstance::SingleInstance()
    : SingleInstance([] { return platform::FindTopLevelWindow("Quorvash", "MainClass.MainClass"); },
                     [](std::chrono::milliseconds time) { std::this_thread::sleep_for(time); }) {}

SingleInstance::SingleInstance(Search search, Sleep sleep)
    : search_(std::move(search)), sleep_(std::move(sleep)) {}

std::uintptr_t SingleInstance::SearchForHandle() {
    return search_();
}

bool SingleInstance::FoundRunningInstance(IPrompts& prompts) {
    const std::uintptr_t foundWindow = SearchForHandle();
    // Without a match start-up pauses for the whole wait before it goes on.
    for (auto counted = std::chrono::milliseconds{0}; counted < WaitTotal && foundWindow == 0;
         counted += WaitStep) {
        sleep_(WaitStep);
    }
    if (foundWindow == 0) {
        return false;
    }
    prompts.ShowMessage(std::string(AlreadyRunningText));
    return true;
}

} // namespace qvs
