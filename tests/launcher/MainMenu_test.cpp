#include "launcher/MainMenu.h"

#include "support/RecordingPrompts.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Log = std::vector<std::string>;

// The controls the menu works on, as plain state, plus a log of actions.
class FakeView : public IMainMenuView {
public:
    std::array<bool, 9> highlight{true, true, true, false, true, true, true, false, false};
    bool statusPanel = false;
    bool downloadShown = false;
    HelpLines helpLines{};
    bool helpVisible = false;
    bool countersVisible = false;
    bool hand = false;
    bool problemsResult = false;
    Log log;

    void ShowHighlight(int tag, bool visible) override {
        highlight.at(static_cast<std::size_t>(tag - 1)) = visible;
    }
    void ShowStatusPanel(bool visible) override { statusPanel = visible; }
    bool IsDownloadShown() const override { return downloadShown; }
    void SetHelpLines(const HelpLines& lines) override { helpLines = lines; }
    void ShowHelpLines(bool visible) override { helpVisible = visible; }
    void ShowDownloadCounters(bool visible) override { countersVisible = visible; }
    void SetHandPointer(bool on) override { hand = on; }
    void SetForgotLabelsRed(bool) override {}
    void PlayClickSound() override { log.push_back("sound"); }
    void ShowLiveChat() override { log.push_back("live chat"); }
    bool ShowProblems() override {
        log.push_back("problems");
        return problemsResult;
    }
    void CloseMainWindow() override { log.push_back("close"); }
    void EndProcess(int exitCode) override { log.push_back("exit " + std::to_string(exitCode)); }

    int VisibleHighlights() const { return static_cast<int>(std::ranges::count(highlight, true)); }
};

class MainMenuTest : public ::testing::Test {
protected:
    FakeView view;
    test::RecordingShell shell;
    test::RecordingPrompts prompts;
    ProcessValues values{"install/"};
    MainMenu menu{view, shell, prompts, values, "http://games.example:8080"};
};

// Outside the menu nothing changes. Play Game shows its own lines only once
// the game server has answered. During a download a hover shows no help and
// the background keeps the download display.
TEST_F(MainMenuTest, HoverAndBackground) {
    for (int tag : {0, 10, -1}) {
        menu.btnMouseMove(tag);
    }
    EXPECT_EQ(view.VisibleHighlights(), 6); // as the window starts
    values.PlayHelp1 = std::string(PlayHelpDisabled);
    menu.btnMouseMove(TagPlayGame);
    EXPECT_EQ(view.VisibleHighlights(), 1);
    EXPECT_EQ(view.helpLines, PlayGameDisabledHelp);
    values.PlayHelp1 = std::string(PlayHelpOnline);
    for (bool download : {false, true}) {
        view.downloadShown = download;
        view.helpLines = {};
        view.countersVisible = true;
        menu.btnMouseMove(TagPlayGame);
        EXPECT_TRUE(view.highlight[TagPlayGame - 1] && view.statusPanel && view.hand);
        EXPECT_EQ(view.helpVisible, !download);
        EXPECT_EQ(view.helpLines, download ? HelpLines{} : HelpText[TagPlayGame - 1]);
        menu.imgBackgroundMouseMove();
        EXPECT_EQ(view.VisibleHighlights(), 0);
        EXPECT_EQ(view.statusPanel, download);
        EXPECT_EQ(view.countersVisible, download);
        EXPECT_FALSE(view.helpVisible || view.hand);
    }
}

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
