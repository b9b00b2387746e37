// What the nine menu buttons and the forgotten-login labels of the main
// window do: highlight and help text while the pointer is over a button, and
// the click actions. Play Game's click belongs to the game launch.
#pragma once

#include "launcher/IMainMenuView.h"
#include "launcher/IShell.h"
#include "launcher/ProcessValues.h"
#include "system/IPrompts.h"

#include <string>
#include <string_view>

namespace qvs {

// The Tags of the menu buttons.
enum MenuTag : int {
    TagLiveChat = 1,
    TagAccountSignup = 2,
    TagRegisterAccount = 3,
    TagViewWebsite = 4,
    TagGameForum = 5,
    TagProblems = 6,
    TagClans = 7,
    TagPlayGame = 8,
    TagExit = 9,
};

class MainMenu {
public:
    // webSite: scheme and host of the game's web site, no trailing slash.
    MainMenu(IMainMenuView& view, IShell& shell, IPrompts& prompts, const ProcessValues& values,
             std::string webSite);

    // Pointer over the button with this Tag; other Tags are ignored.
    void btnMouseMove(int tag);
    // Pointer over the background or over a highlight picture.
    void imgBackgroundMouseMove();

    void btnExitEnter();
    void btnExitLeave();
    void lblForgotEnter();
    void lblForgotLeave();

    void btnLiveChatClick();
    void btnAccountSignupClick();
    void btnRegisterAccountClick();
    void btnViewWebsiteClick();
    void btnGameForumClick();
    void btnProblemsClick();
    void btnClansClick();
    void btnExitClick();
    void lblForgot1Click();

    // The click action of the button with this Tag, for its highlight
    // picture; Play Game (Tag 8) and unknown Tags do nothing here.
    void ClickByTag(int tag);

private:
    void OpenPage(std::string_view path);

    IMainMenuView& view_;
    IShell& shell_;
    IPrompts& prompts_;
    const ProcessValues& values_;
    std::string webSite_;
};

} // namespace qvs
