// One update pass in an installation, with the recording views, as the crash tests
// run it in a process of its own so they can kill it at any moment.
// Usage: update_pass_runner INSTALL_DIR UPDATE_PORT WEB_BASE_URL [PUBLIC_KEYS]
// PUBLIC_KEYS (base64, comma-separated) replaces the build's update keys, so
// the benchmark can measure the pass with and without the signature check.
// Exit status: 0 the pass handed over to the game launch, 1 to the failure
// report, 2 usage or an error that escaped the pass.
#include "launcher/ProcessValues.h"
#include "launcher/StartUp.h"
#include "launcher/UpdatePass.h"
#include "signing/KeyText.h"
#include "support/RecordingNetworkView.h"
#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"
#include "update/RecordingUpdateView.h"

#include <exception>
#include <iostream>
#include <string>

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
        qvs::test::RecordingUpdateView view(values.DataVersionFile());
        qvs::test::RecordingNetworkView network;
        qvs::test::RecordingPrompts prompts;
        qvs::test::RecordingShell shell;
        qvs::UpdatePass(values, view, network, prompts, shell).Run();
        return !view.log.empty() && view.log.back() == "launch" ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 2;
    }
}
