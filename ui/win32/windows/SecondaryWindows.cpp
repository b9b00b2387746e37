#include "ui/win32/windows/SecondaryWindows.h"

#include "launcher/CConfig.h"
#include "ui/win32/windows/TfrmChat.h"
#include "ui/win32/windows/TfrmProblems.h"
#include "ui/win32/windows/TfrmProblemsWithUpdater.h"
#include "ui/win32/windows/TfrmSendErrorReport.h"
#include "ui/win32/windows/TfrmTCP_UDP_Information.h"
#include "ui/win32/windows/TfrmUpdateNews.h"

namespace qvs::win32 {

SecondaryWindows::SecondaryWindows(HWND owner, ProcessValues& values, IShell& shell,
                                   IPrompts& prompts, std::function<void()> clickSound)
    : owner_(owner), shell_(shell),
      frmProblems_(std::make_unique<TfrmProblems>(owner, values.InstallDir(), shell, prompts)),
      frmSendErrorReport_(
          std::make_unique<TfrmSendErrorReport>(owner, CConfig::PathIn(values.InstallDir()),
                                                values.ErrorLogPath, shell, std::move(clickSound))),
      frmTCP_UDP_Information_(std::make_unique<TfrmTCP_UDP_Information>(owner)),
      frmProblemsWithUpdater_(std::make_unique<TfrmProblemsWithUpdater>(owner, values, [this] {
          if (sendReport_) {
              sendReport_();
          }
      })) {}

SecondaryWindows::~SecondaryWindows() = default;

void SecondaryWindows::AfterStartUp() {
    frmSendErrorReport_->FormCreate();
}

void SecondaryWindows::ShowLiveChat() {
    TfrmChat frmChat(owner_, shell_);
    frmChat.ShowModal();
}

bool SecondaryWindows::ShowProblems() {
    return frmProblems_->ShowModal() == ModalResult::OK;
}

void SecondaryWindows::ShowErrorReport() {
    frmSendErrorReport_->ShowModal();
}

void SecondaryWindows::SendConfigurationReport() {
    frmSendErrorReport_->LoadConfiguration();
    frmSendErrorReport_->ShowModal();
}

void SecondaryWindows::ShowNotice(const std::string& title, const std::string& html) {
    TfrmUpdateNews frmUpdateNews(owner_, shell_);
    frmUpdateNews.SetCaption(title);
    frmUpdateNews.LoadHtml(html);
    frmUpdateNews.ShowModal();
}

void SecondaryWindows::ShowUpdateNews(const std::string& url) {
    TfrmUpdateNews frmUpdateNews(owner_, shell_);
    frmUpdateNews.Navigate(url);
    frmUpdateNews.ShowModal();
}

bool SecondaryWindows::ShowUpdaterError(const std::vector<std::string>& lines,
                                        const std::function<void()>& sendReport) {
    sendReport_ = sendReport;
    return frmProblemsWithUpdater_->ShowModal(lines) == ModalResult::OK;
}

INetworkInformationView& SecondaryWindows::NetworkInformation() {
    return *frmTCP_UDP_Information_;
}

} // namespace qvs::win32
