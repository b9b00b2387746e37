// The windows the main window opens: troubleshooting, error report, network
// information, updater error, update news (and the game server's notice),
// live chat. Each is modal over the main window.
#pragma once

#include "launcher/INetworkInformationView.h"
#include "launcher/IShell.h"
#include "launcher/ProcessValues.h"
#include "system/IPrompts.h"
#include "ui/win32/base/Win32.h"

#include <functional>
#include <string>
#include <vector>

namespace qvs::win32 {

class SecondaryWindows : private INetworkInformationView {
public:
    SecondaryWindows(HWND owner, ProcessValues& values, IShell& shell, IPrompts& prompts,
                     std::function<void()> clickSound);

    // The error report reads its files once the start-up wrote them.
    void AfterStartUp();
    void ShowLiveChat();
    bool ShowProblems();
    void ShowErrorReport();
    void SendConfigurationReport();
    void ShowNotice(const std::string& title, const std::string& html);
    void ShowUpdateNews(const std::string& url);
    bool ShowUpdaterError(const std::vector<std::string>& lines,
                          const std::function<void()>& sendReport);
    INetworkInformationView& NetworkInformation() { return *this; }

private:
    bool ShowModalWith(Memo memo) override;

    HWND owner_;
    ProcessValues& values_;
    IShell& shell_;
    IPrompts& prompts_;
    std::function<void()> clickSound_;
};

} // namespace qvs::win32
