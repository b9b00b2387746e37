#include "launcher/MainMenu.h"

#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace qvs {
namespace {

using Log = std::vector<std::string>;

// Records the actions of clicks; the pointer feedback (highlights, help lines,
// hand) is left to the window's own test, as the user sees it.
class FakeView : public IMainMenuView {
public:
    bool problemsResult = false;
    Log log;

    void ShowHighlight(int, bool) override {}
    void ShowStatusPanel(bool) override {}
    bool IsDownloadShown() const override { return false; }
    void SetHelpLines(const HelpLines&) override {}
    void ShowHelpLines(bool) override {}
    void ShowDownloadCounters(bool) override {}
    void SetHandPointer(bool) override {}
    void SetForgotLabelsRed(bool) override {}
    void PlayClickSound() override { log.push_back("sound"); }
    void ShowLiveChat() override { log.push_back("live chat"); }
    bool ShowProblems() override {
        log.push_back("problems");
        return problemsResult;
    }
    void CloseMainWindow() override { log.push_back("close"); }
    void EndProcess(int exitCode) override { log.push_back("exit " + std::to_string(exitCode)); }
};

class MainMenuTest : public ::testing::Test {
protected:
    FakeView view;
    test::RecordingShell shell;
    test::RecordingPrompts prompts;
    ProcessValues values{"install/"};
    MainMenu menu{view, shell, prompts, values, "http://games.example:8080"};
};

// Page buttons play the click sound and open their page; Play Game and unknown
// Tags do nothing here.
TEST_F(MainMenuTest, Clicks) {
    for (int tag : {TagAccountSignup, TagRegisterAccount, TagViewWebsite, TagGameForum, TagClans}) {
        menu.ClickByTag(tag);
    }
    menu.lblForgot1Click();
    const std::string site = "http://games.example:8080";
    EXPECT_EQ(shell.urls, (Log{site + "/newaccount.html", site + "/registration.html", site,
                               site + "/betaforum/index.php", site + "/clanmanagement.html",
                               site + "/accountinfo.html"}));
    EXPECT_EQ(view.log, Log(6, "sound"));
    view.log.clear();
    const int others[] = {TagLiveChat, TagProblems, TagPlayGame, 0, TagExit};
    for (int tag : others) {
        menu.ClickByTag(tag);
    }
    EXPECT_EQ(view.log, (Log{"live chat", "problems", "sound", "exit 0"}));
    EXPECT_EQ(shell.urls.size(), 6u);
    view.problemsResult = true; // closed with OK: shut down after the message
    view.log.clear();
    menu.btnProblemsClick();
    EXPECT_EQ(view.log, (Log{"problems", "close"}));
    EXPECT_EQ(prompts.messages,
              Log{"Quorvash will now shut down.  Reopen Quorvash to see if this fixed your "
                  "problem.  You may need to hit the 'Play Game' button after reopening Quorvash "
                  "to complete the step."});
}

} // namespace
} // namespace qvs
