// The launcher's entry point. It takes no arguments: everything it needs is
// found beside its own executable.
#include "ui/win32/app/Application.h"
#include "ui/win32/base/Win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return qvs::win32::RunApplication();
}
