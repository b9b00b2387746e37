#include "ui/tables/WindowTables.h"

#include <algorithm>
#include <array>
#include <stdexcept>
#include <string>

namespace qvs::ui {

std::span<const WindowSpec* const> AllWindowTables() {
    static const std::array<const WindowSpec*, 7> windows = {&MainWindowTable(),
                                                             &ProblemsWindowTable(),
                                                             &SendErrorReportWindowTable(),
                                                             &ProblemsWithUpdaterWindowTable(),
                                                             &NetworkInformationWindowTable(),
                                                             &UpdateNewsWindowTable(),
                                                             &ChatWindowTable()};
    return windows;
}

const ControlSpec& Lookup(const WindowSpec& window, std::string_view name) {
    const auto found = std::ranges::find(window.controls, name, &ControlSpec::name);
    if (found == window.controls.end()) {
        throw std::out_of_range(std::string(window.name) + " has no control " + std::string(name));
    }
    return *found;
}

const TimerSpec& LookupTimer(const WindowSpec& window, std::string_view name) {
    const auto found = std::ranges::find(window.timers, name, &TimerSpec::name);
    if (found == window.timers.end()) {
        throw std::out_of_range(std::string(window.name) + " has no timer " + std::string(name));
    }
    return *found;
}

} // namespace qvs::ui
