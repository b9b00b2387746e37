// The launcher's message boxes, owned by the main window once it exists.
#pragma once

#include "system/IPrompts.h"
#include "ui/win32/base/Win32.h"

namespace qvs::win32 {

class Win32Prompts : public IPrompts {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& text) override;

private:
    HWND owner_ = nullptr;
};

} // namespace qvs::win32
