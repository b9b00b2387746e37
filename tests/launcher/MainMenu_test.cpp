#include "launcher/MainMenu.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

namespace qvs {
namespace {

const std::string Site = "http://games.example:8080";

// The controls the menu works on, as plain state, plus a log of actions in
// the order they happened.
class FakeView : public IMainMenuView, public IShell, public IPrompts {
public:
    std::array<bool, 9> highlight{true, true, true, false, true, true, true, false, false};
    bool statusPanel = false;
    bool downloadShown = false;
    std::array<std::string, 4> helpLines{};
    bool helpVisible = false;
    bool countersVisible = false;
    bool hand = false;
    bool forgotRed = false;
    bool problemsResult = false;
    std::vector<std::string> log;

    void ShowHighlight(int tag, bool visible) override {
        highlight.at(static_cast<std::size_t>(tag - 1)) = visible;
    }
    void ShowStatusPanel(bool visible) override { statusPanel = visible; }
    bool IsDownloadShown() const override { return downloadShown; }
    void SetHelpLines(const HelpLines& lines) override {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            helpLines[i] = std::string(lines[i]);
        }
    }
    void ShowHelpLines(bool visible) override { helpVisible = visible; }
    void ShowDownloadCounters(bool visible) override { countersVisible = visible; }
    void SetHandPointer(bool on) override { hand = on; }
    void SetForgotLabelsRed(bool red) override { forgotRed = red; }
    void PlayClickSound() override { log.push_back("sound"); }
    void ShowLiveChat() override { log.push_back("live chat"); }
    bool ShowProblems() override {
        log.push_back("problems");
        return problemsResult;
    }
    void CloseMainWindow() override { log.push_back("close"); }
    void EndProcess(int exitCode) override { log.push_back("exit " + std::to_string(exitCode)); }
    void OpenUrl(const std::string& url) override { log.push_back("open " + url); }
    void OpenFile(const std::string& path, const std::string&) override {
        log.push_back("file " + path);
    }
    void StartProgram(const ProgramStart& start) override {
        log.push_back("start " + start.program);
    }
    void ShowMessage(const std::string& text) override { log.push_back("message " + text); }
    bool AskYesNo(const std::string& text) override {
        log.push_back("ask " + text);
        return false;
    }

    int VisibleHighlights() const {
        int count = 0;
        for (bool on : highlight) {
            count += on ? 1 : 0;
        }
        return count;
    }
};

class MainMenuTest : public ::testing::Test {
protected:
    FakeView view;
    ProcessValues values{"install/"};
    MainMenu menu{view, view, view, values, Site};
};

struct HoverCase {
    int tag;
    std::array<const char*, 4> lines;
};

const HoverCase HoverCases[] = {
    {1,
     {"Provides the ability to chat with other players and receive help",
      "from a live representive if any of them are online.",
      "Please click the 'Problems' button first to see if any of those",
      "steps help fix your problem first."}},
    {2,
     {"To play Quorvash you must signup for an account.  Just",
      "let us know what you want your login name and password to be.",
      "We will send you your authoriztion code via email.",
      "This process is completly free and painless."}},
    {3,
     {"Tired of running out of couriers?  Want a little more mana",
      "and stealth?  Running out of training orders?  Become a ",
      "registered user today and learn more about what benefits a", "registered user receives."}},
    {4,
     {"This will take you to the Tellwick home page",
      "where a variety of usefull links and account management", "utilities can be found.", ""}},
    {5,
     {"Talk to other players in the game.  Give",
      "your opinions and suggestions to the game creators.",
      "Ask for help or learn about usefull strategies.", ""}},
    {6,
     {"Having problems logging in?  Get a black screen when hitting",
      "the play game button?  Need to get the latest Java version?",
      "You can also submit a bug report here.", ""}},
    {7,
     {"View your own clan and look at other clans to join.",
      "Registered users can also create a clan but anyone can join a clan.",
      "Clans are an organization of players that work together to",
      "try to achieve world dominance in Quorvash."}},
    {8,
     {"Play Quorvash.  This will take you to the login screen.",
      "Simply provide your username, password, and authorization code",
      "to enter the land of Ostrel.", ""}},
    {9, {"", "Exits Quorvash.", "", ""}},
};

TEST_F(MainMenuTest, HoverShowsOwnHighlightAndFourHelpLines) {
    values.PlayHelp1 = std::string(PlayHelpOnline);
    for (const HoverCase& hover : HoverCases) {
        menu.btnMouseMove(hover.tag);
        for (int tag = 1; tag <= 9; ++tag) {
            EXPECT_EQ(view.highlight[static_cast<std::size_t>(tag - 1)], tag == hover.tag)
                << "hover " << hover.tag << " highlight " << tag;
        }
        for (std::size_t line = 0; line < 4; ++line) {
            EXPECT_EQ(view.helpLines[line], hover.lines[line])
                << "tag " << hover.tag << " line " << line;
        }
        EXPECT_TRUE(view.statusPanel);
        EXPECT_TRUE(view.helpVisible);
        EXPECT_TRUE(view.hand);
    }
}

TEST_F(MainMenuTest, PlayGameBeforeServerAnsweredShowsDisabledText) {
    ASSERT_EQ(values.PlayHelp1, "The 'Play Game' button has been disabled. ");
    menu.btnMouseMove(TagPlayGame);
    EXPECT_EQ(view.helpLines[0], "The 'Play Game' button has been disabled. ");
    EXPECT_EQ(view.helpLines[1], "Try again later when the Server is Online. ");
    EXPECT_EQ(view.helpLines[2], "");
    EXPECT_EQ(view.helpLines[3], "");
    EXPECT_TRUE(view.highlight[7]);

    values.PlayHelp1 = "Enter the Land of Ostrel ";
    menu.btnMouseMove(TagPlayGame);
    EXPECT_EQ(view.helpLines[0], "Play Quorvash.  This will take you to the login screen.");
}

TEST_F(MainMenuTest, OtherButtonsIgnoreTheServerState) {
    menu.btnMouseMove(TagExit);
    EXPECT_EQ(view.helpLines[1], "Exits Quorvash.");
}

TEST_F(MainMenuTest, TagsOutsideTheMenuChangeNothing) {
    for (int tag : {0, 10, -1}) {
        menu.btnMouseMove(tag);
    }
    EXPECT_EQ(view.VisibleHighlights(), 6);
    EXPECT_FALSE(view.statusPanel);
    EXPECT_FALSE(view.hand);
}

TEST_F(MainMenuTest, BackgroundHidesEveryHighlightAndTheHelp) {
    EXPECT_EQ(view.VisibleHighlights(), 6); // as the window starts
    menu.imgBackgroundMouseMove();
    EXPECT_EQ(view.VisibleHighlights(), 0);

    menu.btnMouseMove(TagClans);
    view.countersVisible = true;
    menu.imgBackgroundMouseMove();
    EXPECT_EQ(view.VisibleHighlights(), 0);
    EXPECT_FALSE(view.helpVisible);
    EXPECT_FALSE(view.statusPanel);
    EXPECT_FALSE(view.countersVisible);
    EXPECT_FALSE(view.hand);
}

TEST_F(MainMenuTest, HoverDuringDownloadKeepsTheDownloadDisplay) {
    view.downloadShown = true;
    view.statusPanel = true;
    view.countersVisible = true;
    view.helpLines = {"", "", "", ""};
    menu.btnMouseMove(TagGameForum);
    EXPECT_TRUE(view.highlight[4]);
    EXPECT_EQ(view.VisibleHighlights(), 1);
    EXPECT_TRUE(view.hand);
    EXPECT_EQ(view.helpLines[0], "");
    EXPECT_FALSE(view.helpVisible);
    EXPECT_TRUE(view.countersVisible);

    menu.imgBackgroundMouseMove();
    EXPECT_EQ(view.VisibleHighlights(), 0);
    EXPECT_TRUE(view.statusPanel);
    EXPECT_TRUE(view.countersVisible);
    EXPECT_FALSE(view.hand);
}

TEST_F(MainMenuTest, LinkClicksPlayTheSoundThenOpenThePage) {
    menu.btnAccountSignupClick();
    menu.btnRegisterAccountClick();
    menu.btnViewWebsiteClick();
    menu.btnGameForumClick();
    menu.btnClansClick();
    menu.lblForgot1Click();
    const std::vector<std::string> expected = {
        "sound", "open http://games.example:8080/newaccount.html",
        "sound", "open http://games.example:8080/registration.html",
        "sound", "open http://games.example:8080",
        "sound", "open http://games.example:8080/betaforum/index.php",
        "sound", "open http://games.example:8080/clanmanagement.html",
        "sound", "open http://games.example:8080/accountinfo.html",
    };
    EXPECT_EQ(view.log, expected);
}

TEST_F(MainMenuTest, HighlightClicksActAsTheirButtons) {
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
    };
    for (const auto& [tag, expected] : cases) {
        view.log.clear();
        menu.ClickByTag(tag);
        EXPECT_EQ(view.log, expected) << "tag " << tag;
    }
}

TEST_F(MainMenuTest, ExitPlaysTheSoundAndEndsWithZero) {
    menu.btnExitClick();
    EXPECT_EQ(view.log, (std::vector<std::string>{"sound", "exit 0"}));
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

TEST_F(MainMenuTest, ProblemsClosedOtherwiseDoesNothingMore) {
    menu.btnProblemsClick();
    EXPECT_EQ(view.log, std::vector<std::string>{"problems"});
}

TEST_F(MainMenuTest, ExitAndForgotLabelsFollowThePointer) {
    menu.btnExitEnter();
    EXPECT_TRUE(view.highlight[8]);
    menu.btnExitLeave();
    EXPECT_FALSE(view.highlight[8]);
    menu.lblForgotEnter();
    EXPECT_TRUE(view.forgotRed);
    menu.lblForgotLeave();
    EXPECT_FALSE(view.forgotRed);
}

} // namespace
} // namespace qvs
