// Browser views in the placeholders that a window table gives them.
#pragma once

#include "ui/win32/browser/TWebBrowser.h"

#include <memory>
#include <string>

namespace qvs {
class IShell;
}

namespace qvs::win32 {

// A view filling the placeholder window; links that ask for a new window
// open through shell. Null where no HTML engine can be created.
std::unique_ptr<TWebBrowser> CreateViewIn(HWND placeholder, IShell& shell,
                                          TWebBrowser::Events events = {});

// Makes the view fill its placeholder again after the placeholder moved.
void FitToPlaceholder(TWebBrowser* view);

// Writes the HTML text into the user's temporary folder and opens it with
// the default program (the default browser).
void OpenHtmlElsewhere(const std::string& html, IShell& shell);

} // namespace qvs::win32
