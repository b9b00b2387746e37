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
        RecordOrFail("notice " + title + " | " + html);
    }
    void SetHourglassCursor() override { events.push_back("hourglass"); }
    void DisablePlayGame() override { events.push_back("disable"); }
    void PlayClickSound() override { RecordOrFail("sound"); }
    void EnableUpdateTimer() override { events.push_back("timer"); }
    // The notice and the click sound may fail (no browser, no audio device).
    void RecordOrFail(const std::string& event) {
        events.push_back(event);
        if (failing) {
            throw std::runtime_error(event + " failed");
        }
    }

    bool downloadShown = false;
    bool failing = false;
    Events events;
};

// Play Game is taken only while the game server is online and no update
// downloads. Mode 1 shows the notice, then starts the update pass; 2 only
// shows it; any other starts the pass alone. Neither a failing notice nor a
// failing click sound stops the pass.
TEST(PlayGameButtonTest, TheClickFollowsTheServerTheDownloadAndTheNoticeMode) {
    const Events pass{"hourglass", "disable", "sound", "timer"};
    const std::string notice = "notice Server news | <b>Downtime at 5</b>";
    const struct {
        std::string_view help;
        bool downloadShown;
        int mode;
        Events expected;
    } cases[] = {
        {PlayHelpDisabled, false, 1, {}},
        {PlayHelpOnline, true, 1, {}},
        {PlayHelpOnline, false, 0, pass},
        {PlayHelpOnline, false, 1, {notice, "hourglass", "disable", "sound", "timer"}},
        {PlayHelpOnline, false, 2, {notice}},
        {PlayHelpOnline, false, -1, pass},
    };
    for (const bool failing : {false, true}) {
        for (const auto& c : cases) {
            ProcessValues values{"install/"};
            values.PlayHelp1 = std::string(c.help);
            values.Workers.NoticeMode = c.mode;
            values.Workers.NoticeTitle = "Server news";
            values.Workers.NoticeHtml = "<b>Downtime at 5</b>";
            RecordingPlayGameView view;
            view.downloadShown = c.downloadShown;
            view.failing = failing;
            PlayGameButton(view, values).btnPlayGameClick();
            EXPECT_EQ(view.events, c.expected)
                << '"' << c.help << "\" mode " << c.mode << (failing ? " failing" : "");
        }
    }
}

} // namespace
} // namespace qvs
