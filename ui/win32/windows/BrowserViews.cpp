#include "ui/win32/windows/BrowserViews.h"

#include "launcher/IShell.h"
#include "system/TextLines.h"
#include "ui/win32/base/Text.h"

#include <filesystem>
#include <fstream>

namespace qvs::win32 {

std::unique_ptr<TWebBrowser> CreateViewIn(HWND placeholder, IShell& shell,
                                          TWebBrowser::Events events) {
    if (!events.newWindow) {
        events.newWindow = [&shell](const std::string& url) { shell.OpenUrl(url); };
    }
    RECT area;
    GetClientRect(placeholder, &area);
    return TWebBrowser::Create(placeholder, area, std::move(events));
}

void FitToPlaceholder(TWebBrowser* view) {
    if (view != nullptr) {
        RECT area;
        GetClientRect(GetParent(view->Window()), &area);
        view->SetBounds(area);
    }
}

void OpenHtmlElsewhere(const std::string& html, IShell& shell) {
    wchar_t folder[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) {
        return;
    }
    const std::wstring path = std::wstring(folder, length) + L"QvsNotice.html";
    {
        std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
        const std::string document = JoinWithCrLf(SplitIntoLines(html));
        file.write(document.data(), static_cast<std::streamsize>(document.size()));
        if (!file.flush()) {
            return;
        }
    }
    shell.OpenFile(Narrow(path), Narrow(std::wstring(folder, length)));
}

} // namespace qvs::win32
