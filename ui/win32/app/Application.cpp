#include "ui/win32/app/Application.h"

#include "launcher/ExitCleanUp.h"
#include "launcher/ProcessValues.h"
#include "launcher/SingleInstance.h"
#include "ui/win32/app/Win32Prompts.h"
#include "ui/win32/app/Win32Shell.h"
#include "ui/win32/base/MessagePump.h"
#include "ui/win32/base/Text.h"
#include "ui/win32/controls/Fonts.h"
#include "ui/win32/controls/Picture.h"
#include "ui/win32/windows/TfrmMain.h"

#include <commctrl.h>
#include <ole2.h>

#include <string>

namespace qvs::win32 {

namespace {

// OleInitialize ... OleUninitialize, the latter only after a success
// (S_FALSE, already initialised, counts as one).
class OleSession {
public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (initialised_) {
            OleUninitialize();
        }
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialised_;
};

// The installation directory with its trailing separator. It is also made
// the working directory, as the game client expects to start there.
std::string InstallDirectory() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    path.resize(path.find_last_of(L'\\') + 1);
    SetCurrentDirectoryW(path.c_str());
    return Narrow(path);
}

int RunLauncher(ProcessValues& values) {
    Win32Prompts prompts;
    Win32Shell shell;
    TfrmMain frmMain(values, prompts, shell);
    prompts.SetOwner(frmMain.Handle());
    if (SingleInstance().FoundRunningInstance(prompts)) {
        return 1;
    }
    frmMain.RunStartUp();
    frmMain.Show();
    PumpMessages(Pump::Wait);
    return 0;
}

} // namespace

int RunApplication() {
    const INITCOMMONCONTROLSEX controls{
        sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_TAB_CLASSES | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    const OleSession ole;
    const GdiplusSession gdiplus;
    const PrivateFonts fonts;
    ProcessValues values(InstallDirectory());
    return RunLauncherProcess(
        values, [&values] { return RunLauncher(values); },
        [](const std::string& message) {
            MessageBoxW(nullptr, Widen(message).c_str(), L"Quorvash", MB_OK | MB_ICONERROR);
        });
}

} // namespace qvs::win32
