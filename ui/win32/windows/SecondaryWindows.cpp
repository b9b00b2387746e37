// Stand-ins until the secondary windows exist: pages go to the default
// browser, questions to message boxes.
#include "ui/win32/windows/SecondaryWindows.h"

namespace qvs::win32 {

SecondaryWindows::SecondaryWindows(HWND owner, ProcessValues& values, IShell& shell,
                                   IPrompts& prompts, std::function<void()> clickSound)
    : owner_(owner), values_(values), shell_(shell), prompts_(prompts),
      clickSound_(std::move(clickSound)) {}

void SecondaryWindows::AfterStartUp() {}

void SecondaryWindows::ShowLiveChat() {}

bool SecondaryWindows::ShowProblems() {
    return false;
}

void SecondaryWindows::ShowErrorReport() {}

void SecondaryWindows::SendConfigurationReport() {}

void SecondaryWindows::ShowNotice(const std::string& title, const std::string&) {
    prompts_.ShowMessage(title);
}

void SecondaryWindows::ShowUpdateNews(const std::string& url) {
    shell_.OpenUrl(url);
}

bool SecondaryWindows::ShowUpdaterError(const std::vector<std::string>& lines,
                                        const std::function<void()>&) {
    std::string text;
    for (const std::string& line : lines) {
        text += line + "\n";
    }
    return prompts_.AskYesNo(text);
}

bool SecondaryWindows::ShowModalWith(Memo) {
    return false;
}

} // namespace qvs::win32
