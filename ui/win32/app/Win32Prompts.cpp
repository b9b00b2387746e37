#include "ui/win32/app/Win32Prompts.h"

#include "ui/win32/base/Text.h"

namespace qvs::win32 {

namespace {

// The caption of the launcher's message boxes is the program's name.
constexpr const wchar_t* Caption = L"Quorvash";

// A box asked for from a modal window belongs to it, else to the owner.
HWND OwnerOf(HWND owner) {
    const HWND active = GetActiveWindow();
    return active != nullptr && GetWindow(active, GW_OWNER) == owner ? active : owner;
}

} // namespace

void Win32Prompts::ShowMessage(const std::string& text) {
    MessageBoxW(OwnerOf(owner_), Widen(text).c_str(), Caption, MB_OK | MB_ICONINFORMATION);
}

bool Win32Prompts::AskYesNo(const std::string& text) {
    return MessageBoxW(OwnerOf(owner_), Widen(text).c_str(), Caption, MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

} // namespace qvs::win32
