#include "launcher/MainMenu.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

namespace qvs {
namespace {

// The controls the menu works on, as plain state, plus a log of actions in
// the order they happened.
class FakeView : public IMainMenuView, public IShell, public IPrompts {
public:
    std::array<bool, 9> highlight{true, true, true, false, true, true, true, false, false};
    bool statusPanel = false;
    bool downloadShown = false;
    HelpLines helpLines{};
    bool helpVisible = false;
    bool countersVisible = false;
    bool hand = false;
    bool problemsResult = false;
    std::vector<std::string> log;

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
    void OpenUrl(const std::string& url) override { log.push_back("open " + url); }
    void OpenFile(const std::string&, const std::string&) override { log.push_back("file"); }
    void StartProgram(const ProgramStart&) override { log.push_back("start"); }
    void ShowMessage(const std::string& text) override { log.push_back("message " + text); }
    bool AskYesNo(const std::string&) override {
        log.push_back("ask");
        return false;
    }

    int VisibleHighlights() const { return static_cast<int>(std::ranges::count(highlight, true)); }
};

class MainMenuTest : public ::testing::Test {
protected:
    FakeView view;
    ProcessValues values{"install/"};
    MainMenu menu{view, view, view, values, "http://games.example:8080"};
};

// Play Game shows its own lines only once the game server has answered.
TEST_F(MainMenuTest, HoverShowsOwnHighlightAndHelpLines) {
    for (bool online : {false, true}) {
        values.PlayHelp1 = std::string(online ? PlayHelpOnline : PlayHelpDisabled);
        for (int hover = 1; hover <= 9; ++hover) {
            menu.btnMouseMove(hover);
            for (int tag = 1; tag <= 9; ++tag) {
                EXPECT_EQ(view.highlight[static_cast<std::size_t>(tag - 1)], tag == hover);
            }
            const bool disabled = hover == TagPlayGame && !online;
            EXPECT_EQ(view.helpLines, disabled ? PlayGameDisabledHelp
                                               : HelpText[static_cast<std::size_t>(hover - 1)])
                << hover;
            EXPECT_TRUE(view.statusPanel && view.helpVisible && view.hand);
        }
    }
}

// Outside the menu nothing changes. During a download a hover shows no help
// and the background keeps the download display.
TEST_F(MainMenuTest, BackgroundAndDownloadDisplay) {
    for (int tag : {0, 10, -1}) {
        menu.btnMouseMove(tag);
    }
    EXPECT_EQ(view.VisibleHighlights(), 6); // as the window starts
    EXPECT_FALSE(view.statusPanel || view.hand);
    for (bool download : {false, true}) {
        view.downloadShown = download;
        view.helpLines = {};
        view.countersVisible = true;
        menu.btnMouseMove(TagClans);
        EXPECT_EQ(view.helpVisible, !download);
        EXPECT_EQ(view.helpLines == HelpLines{}, download);
        menu.imgBackgroundMouseMove();
        EXPECT_EQ(view.VisibleHighlights(), 0);
        EXPECT_EQ(view.statusPanel, download);
        EXPECT_EQ(view.countersVisible, download);
        EXPECT_FALSE(view.helpVisible || view.hand);
    }
}

TEST_F(MainMenuTest, ClicksPlayTheSoundThenOpenThePage) {
    const std::vector<std::pair<int, std::vector<std::string>>> cases = {
        {TagLiveChat, {"live chat"}},
        {TagAccountSignup, {"sound", "open http://games.example:8080/newaccount.html"}},
        {TagRegisterAccount, {"sound", "open http://games.example:8080/registration.html"}},
        {TagViewWebsite, {"sound", "open http://games.example:8080"}},
        {TagGameForum, {"sound", "open http://games.example:8080/betaforum/index.php"}},
        {TagProblems, {"problems"}},
        {TagClans, {"sound", "open http://games.example:8080/clanmanagement.html"}},
        {TagPlayGame, {}},
        {TagExit, {"sound", "exit 0"}},
        {0, {}},
    };
    for (const auto& [tag, expected] : cases) {
        view.log.clear();
        menu.ClickByTag(tag);
        EXPECT_EQ(view.log, expected) << "tag " << tag;
    }
    view.log.clear();
    menu.lblForgot1Click();
    EXPECT_EQ(view.log, (std::vector<std::string>{
                            "sound", "open http://games.example:8080/accountinfo.html"}));
}

TEST_F(MainMenuTest, ProblemsClosedWithOkShutsDownAfterTheMessage) {
    view.problemsResult = true;
    menu.btnProblemsClick();
    const std::vector<std::string> expected = {
        "problems",
        "message Quorvash will now shut down.  Reopen Quorvash to see if this fixed your "
        "problem.  You may need to hit the 'Play Game' button after reopening Quorvash to "
        "complete the step.",
        "close"};
    EXPECT_EQ(view.log, expected);
}

} // namespace
} // namespace qvs
