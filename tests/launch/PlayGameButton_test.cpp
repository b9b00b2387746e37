#include "launcher/PlayGameButton.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace qvs {
namespace {

using Events = std::vector<std::string>;

class RecordingPlayGameView : public IPlayGameView {
public:
    bool IsDownloadShown() const override { return downloadShown; }
    void ShowNotice(const std::string& title, const std::string& html) override {
        events.push_back("notice " + title + " | " + html);
        if (noticeFails) {
            throw std::runtime_error("no browser");
        }
    }
    void SetHourglassCursor() override { events.push_back("hourglass"); }
    void DisablePlayGame() override { events.push_back("disable"); }
    void PlayClickSound() override {
        events.push_back("sound");
        if (soundFails) {
            throw std::runtime_error("no audio device");
        }
    }
    void EnableUpdateTimer() override { events.push_back("timer"); }

    bool downloadShown = false;
    bool noticeFails = false;
    bool soundFails = false;
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

TEST_F(PlayGameButtonTest, IgnoredWhileTheGameServerIsOffline) {
    for (const std::string& help : {std::string(PlayHelpDisabled),
                                    std::string("Enter the Land of Ostrel"), std::string("")}) {
        values.PlayHelp1 = help;
        EXPECT_EQ(Click(1), Events{}) << '"' << help << '"';
    }
}

TEST_F(PlayGameButtonTest, IgnoredWhileAnUpdateIsDownloading) {
    view.downloadShown = true;
    EXPECT_EQ(Click(1), Events{});
}

TEST_F(PlayGameButtonTest, NoticeModes) {
    struct Case {
        int mode;
        Events expected;
    };
    Events noticeThenPass{kNotice};
    noticeThenPass.insert(noticeThenPass.end(), kUpdatePass.begin(), kUpdatePass.end());
    const Case cases[] = {
        {0, kUpdatePass}, {1, noticeThenPass}, {2, {kNotice}}, {3, kUpdatePass}, {-1, kUpdatePass},
    };
    for (const Case& c : cases) {
        view.events.clear();
        EXPECT_EQ(Click(c.mode), c.expected) << "mode " << c.mode;
    }
}

TEST_F(PlayGameButtonTest, AFailingNoticeDoesNotStopThePass) {
    view.noticeFails = true;
    Events expected{kNotice};
    expected.insert(expected.end(), kUpdatePass.begin(), kUpdatePass.end());
    EXPECT_EQ(Click(1), expected);
}

TEST_F(PlayGameButtonTest, AFailingNoticeInNoticeOnlyModeStartsNothing) {
    view.noticeFails = true;
    EXPECT_EQ(Click(2), Events{kNotice});
}

TEST_F(PlayGameButtonTest, AFailingClickSoundDoesNotStopThePass) {
    view.soundFails = true;
    EXPECT_EQ(Click(0), kUpdatePass);
}

} // namespace
} // namespace qvs
