// The windows the main window opens: troubleshooting, error report, network
// information, updater error (all four made once, hidden until needed), and
// update news (also the game server's notice) and live chat (made for each
// showing). Each is modal over the main window.
#pragma once

#include "launcher/INetworkInformationView.h"
#include "launcher/IShell.h"
#include "launcher/ProcessValues.h"
#include "system/IPrompts.h"
#include "ui/win32/base/Win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace qvs::win32 {

class TfrmProblems;
class TfrmProblemsWithUpdater;
class TfrmSendErrorReport;
class TfrmTCP_UDP_Information;

class SecondaryWindows {
public:
    SecondaryWindows(HWND owner, ProcessValues& values, IShell& shell, IPrompts& prompts,
                     std::function<void()> clickSound);
    ~SecondaryWindows();

    // The error report reads its files once the start-up wrote them.
    void AfterStartUp();
    void ShowLiveChat();
    // True when the troubleshooting window closed with "OK".
    bool ShowProblems();
    void ShowErrorReport();
    // The error report with the configuration file alone, over the updater
    // error window when that shows.
    void SendConfigurationReport();
    void ShowNotice(const std::string& title, const std::string& html);
    void ShowUpdateNews(const std::string& url);
    // True for "Download New Patch ..." (OK).
    bool ShowUpdaterError(const std::vector<std::string>& lines,
                          const std::function<void()>& sendReport);
    INetworkInformationView& NetworkInformation();

private:
    HWND owner_;
    IShell& shell_;
    std::function<void()> sendReport_;
    std::unique_ptr<TfrmProblems> frmProblems_;
    std::unique_ptr<TfrmSendErrorReport> frmSendErrorReport_;
    std::unique_ptr<TfrmTCP_UDP_Information> frmTCP_UDP_Information_;
    std::unique_ptr<TfrmProblemsWithUpdater> frmProblemsWithUpdater_;
};

} // namespace qvs::win32
