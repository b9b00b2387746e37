#include "launcher/PlayGameButton.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qvs {
namespace {

using Events = std::vector<std::string>;

class RecordingPlayGameView : public IPlayGameView {
public:
    bool IsDownloadShown() const override { return downloadShown; }
    void ShowNotice(const std::string& title, const std::string& html) override {
        events.push_back("notice " + title + " | " + html);
        if (failing) {
            throw std::runtime_error("no browser");
        }
    }
    void SetHourglassCursor() override { events.push_back("hourglass"); }
    void DisablePlayGame() override { events.push_back("disable"); }
    void PlayClickSound() override {
        events.push_back("sound");
        if (failing) {
            throw std::runtime_error("no audio device");
        }
    }
    void EnableUpdateTimer() override { events.push_back("timer"); }

    bool downloadShown = false;
    bool failing = false; // the notice and the click sound
    Events events;
};

const Events kUpdatePass{"hourglass", "disable", "sound", "timer"};
const std::string kNotice = "notice Server news | <b>Downtime at 5</b>";

class PlayGameButtonTest : public ::testing::Test {
protected:
    PlayGameButtonTest() {
        values.PlayHelp1 = std::string(PlayHelpOnline);
        values.Workers.NoticeTitle = "Server news";
        values.Workers.NoticeHtml = "<b>Downtime at 5</b>";
    }
    Events Click(int noticeMode) {
        values.Workers.NoticeMode = noticeMode;
        PlayGameButton(view, values).btnPlayGameClick();
        return view.events;
    }

    ProcessValues values{"install/"};
    RecordingPlayGameView view;
};

TEST_F(PlayGameButtonTest, IgnoredWhileTheGameServerIsOfflineOrAnUpdateDownloads) {
    using namespace std::string_view_literals;
    for (const std::string_view help : {PlayHelpDisabled, "Enter the Land of Ostrel"sv, ""sv}) {
        values.PlayHelp1 = std::string(help);
        EXPECT_EQ(Click(1), Events{}) << '"' << help << '"';
    }
    values.PlayHelp1 = std::string(PlayHelpOnline);
    view.downloadShown = true;
    EXPECT_EQ(Click(1), Events{});
}

// Mode 1 shows the notice, then starts the pass; 2 only shows it; any other
// starts the pass alone. Neither a failing notice nor a failing sound stops it.
TEST_F(PlayGameButtonTest, NoticeModes) {
    const Events noticeThenPass{kNotice, "hourglass", "disable", "sound", "timer"};
    const std::pair<int, Events> cases[] = {
        {0, kUpdatePass}, {1, noticeThenPass}, {2, {kNotice}}, {3, kUpdatePass}, {-1, kUpdatePass}};
    for (const bool failing : {false, true}) {
        view.failing = failing;
        for (const auto& [mode, expected] : cases) {
            view.events.clear();
            EXPECT_EQ(Click(mode), expected) << "mode " << mode << (failing ? " failing" : "");
        }
    }
}

} // namespace
} // namespace qvs
