// The launcher's entry point. It takes no arguments: everything it needs is
// found beside its own executable.
#include "platform/EmbeddedVersion.h" // qvs-server reads it from updates/QVS.exe on any system
#include "ui/win32/app/Application.h"
#include "ui/win32/base/Win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return qvs::win32::RunApplication();
}
