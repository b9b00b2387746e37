#include "launcher/MainMenu.h"

namespace qvs {

namespace {

// clang-format off
constexpr std::string_view ShutDownAfterFixText = "Quorvash will now shut down.  Reopen Quorvash to see if this fixed your problem.  You may need to hit the 'Play Game' button after reopening Quorvash to complete the step.";
// clang-format on

} // namespace

MainMenu::MainMenu(IMainMenuView& view, IShell& shell, IPrompts& prompts,
                   const ProcessValues& values, std::string webSite)
    : view_(view), shell_(shell), prompts_(prompts), values_(values), webSite_(std::move(webSite)) {
}

void MainMenu::btnMouseMove(int tag) {
    if (tag < 1 || tag > MenuButtonCount) {
        return;
    }
    for (int other = 1; other <= MenuButtonCount; ++other) {
        view_.ShowHighlight(other, other == tag);
    }
    view_.ShowStatusPanel(true);
    if (!view_.IsDownloadShown()) {
        const bool playDisabled = tag == TagPlayGame && values_.PlayHelp1 == PlayHelpDisabled;
        view_.SetHelpLines(playDisabled ? PlayGameDisabledHelp
                                        : HelpText[static_cast<std::size_t>(tag - 1)]);
        view_.ShowHelpLines(true);
    }
    view_.SetHandPointer(true);
}

void MainMenu::imgBackgroundMouseMove() {
    for (int tag = 1; tag <= MenuButtonCount; ++tag) {
        view_.ShowHighlight(tag, false);
    }
    if (!view_.IsDownloadShown()) {
        view_.ShowHelpLines(false);
        view_.ShowDownloadCounters(false);
        view_.ShowStatusPanel(false);
    }
    view_.SetHandPointer(false);
}

void MainMenu::btnExitEnter() {
    view_.ShowHighlight(TagExit, true);
}

void MainMenu::btnExitLeave() {
    view_.ShowHighlight(TagExit, false);
}

void MainMenu::lblForgotEnter() {
    view_.SetForgotLabelsRed(true);
}

void MainMenu::lblForgotLeave() {
    view_.SetForgotLabelsRed(false);
}

void MainMenu::btnLiveChatClick() {
    view_.ShowLiveChat();
}

void MainMenu::btnAccountSignupClick() {
    OpenPage("/newaccount.html");
}

void MainMenu::btnRegisterAccountClick() {
    OpenPage("/registration.html");
}

void MainMenu::btnViewWebsiteClick() {
    OpenPage("");
}

void MainMenu::btnGameForumClick() {
    OpenPage("/betaforum/index.php");
}

void MainMenu::btnProblemsClick() {
    if (view_.ShowProblems()) {
        prompts_.ShowMessage(std::string(ShutDownAfterFixText));
        view_.CloseMainWindow();
    }
}

void MainMenu::btnClansClick() {
    OpenPage("/clanmanagement.html");
}

void MainMenu::btnExitClick() {
    view_.PlayClickSound();
    view_.EndProcess(0);
}

void MainMenu::lblForgot1Click() {
    OpenPage("/accountinfo.html");
}

void MainMenu::ClickByTag(int tag) {
    switch (tag) {
    case TagLiveChat:
        btnLiveChatClick();
        break;
    case TagAccountSignup:
        btnAccountSignupClick();
        break;
    case TagRegisterAccount:
        btnRegisterAccountClick();
        break;
    case TagViewWebsite:
        btnViewWebsiteClick();
        break;
    case TagGameForum:
        btnGameForumClick();
        break;
    case TagProblems:
        btnProblemsClick();
        break;
    case TagClans:
        btnClansClick();
        break;
    case TagExit:
        btnExitClick();
        break;
    default:
        break;
    }
}

void MainMenu::OpenPage(std::string_view path) {
    view_.PlayClickSound();
    shell_.OpenUrl(webSite_ + std::string(path));
}

} // namespace qvs
