// One update pass in an installation, without a window, as the crash tests
// run it in a process of its own so they can kill it at any moment.
// Usage: update_pass_runner INSTALL_DIR UPDATE_PORT WEB_BASE_URL [PUBLIC_KEYS]
// PUBLIC_KEYS (base64, comma-separated) replaces the build's update keys.
// Exit status: 0 the pass handed over to the game launch, 1 to the failure
// report, 2 usage or an error that escaped the pass.
#include "launcher/INetworkInformationView.h"
#include "launcher/IShell.h"
#include "launcher/IUpdateView.h"
#include "launcher/ProcessValues.h"
#include "launcher/StartUp.h"
#include "launcher/UpdatePass.h"
#include "signing/KeyText.h"
#include "system/IPrompts.h"

#include <exception>
#include <iostream>
#include <string>

namespace {

class HeadlessWindow : public qvs::IUpdateView,
                       public qvs::INetworkInformationView,
                       public qvs::IPrompts,
                       public qvs::IShell {
public:
    void BeginUpdateDisplay(int, const std::string&, const std::string&) override { shown = true; }
    void SetUpdateLine2(const std::string&) override {}
    void SetUpdateLine3(const std::string&) override {}
    void SetCurrentUpdate(int) override {}
    void ShowProgress(int, const std::string&) override {}
    void EndUpdateDisplay(const std::string&) override { shown = false; }
    bool IsDownloadShown() const override { return shown; }
    void ProcessPendingMessages() override {}
    void ShowUpdateNews(const std::string&) override {}
    void CloseMainWindow() override {}
    void ReportUpdateFailure() override { launched = false; }
    void LaunchGame() override { launched = true; }
    bool ShowModalWith(Memo) override { return false; }
    void ShowMessage(const std::string&) override {}
    bool AskYesNo(const std::string&) override { return false; }
    void OpenUrl(const std::string&) override {}
    void OpenFile(const std::string&, const std::string&) override {}
    void StartProgram(const qvs::ProgramStart&) override {}

    bool shown = false;
    bool launched = false;
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 4 && argc != 5) {
        std::cerr
            << "usage: update_pass_runner INSTALL_DIR UPDATE_PORT WEB_BASE_URL [PUBLIC_KEYS]\n";
        return 2;
    }
    try {
        qvs::ProcessValues values(argv[1]);
        qvs::StartUp(values).Run();
        values.UpdateServerHost = "127.0.0.1";
        values.UpdateServerPort = static_cast<std::uint16_t>(std::stoi(argv[2]));
        values.Workers.ServerHost = "127.0.0.1";
        values.Workers.WebBaseUrl = argv[3];
        values.WorkerWaitMs = 5000;
        if (argc == 5) {
            values.Workers.UpdatePublicKeys = qvs::KeyText::PublicKeys(argv[4]);
        }
        HeadlessWindow window;
        qvs::UpdatePass(values, window, window, window, window).Run();
        return window.launched ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
}
