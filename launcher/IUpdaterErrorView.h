// The main window as the failure report sees it.
#pragma once

#include <string>
#include <vector>

namespace qvs {

class IUpdaterErrorView {
public:
    virtual ~IUpdaterErrorView() = default;

    // The "Automatic Updater Error" window, modal, with these memo lines;
    // true when it closed with OK ("Download New Patch ..."), false for
    // Cancel or the close box.
    virtual bool ShowUpdaterError(const std::vector<std::string>& lines) = 0;
    virtual void PlayClickSound() = 0;
    virtual void CloseMainWindow() = 0;
    virtual void LaunchGame() = 0;
};

} // namespace qvs
