// The game server status check against the real qvs-server: the three
// attempts, the address file, the people-online display and PlayHelp1.
#include "launcher/GameServerStatusCheck.h"

#include "launcher/IServerStatusView.h"
#include "platform/FileSystem.h"
#include "update/UpdateFixture.h"

#include <gmock/gmock.h>

namespace qvs::test {
namespace {

// Addresses on the loopback network where nothing listens: the server is
// bound to 127.0.0.1 only.
constexpr const char* Nowhere = "127.0.0.5";
constexpr const char* DefaultAddress = "127.0.0.6";

class RecordingStatusView : public IServerStatusView {
public:
    void RestartBlinking() override {
        ++attempts;
        blinking = true;
    }
    void StopBlinking() override { blinking = false; }
    bool IsBlinking() const override { return blinking; }
    void ShowPeopleOnline(int people) override { shownPeople.push_back(people); }
    void ProcessPendingMessages() override { ++messageRounds; }
    void ShowErrorReport() override { ++errorReports; }

    int attempts = 0;
    bool blinking = true;
    std::vector<int> shownPeople;
    int messageRounds = 0;
    int errorReports = 0;
};

using GameServerStatusTest = UpdateFixture;

// The first host; when it does not answer, the one the address file on the
// web host names, else the first again; then the default. With no web host
// at all the second attempt is skipped.
TEST_F(GameServerStatusTest, AttemptsUntilOneAnswersAndShowsWhoIsOnline) {
    using enum AddressFetch;
    const struct {
        const char* people;
        const char* firstHost;
        const char* file; // null: none served
        bool webHost;
        AddressFetch fetch;
        int attempts;
        const char* host;
        std::vector<int> shown;
        bool errorLog = false;
    } cases[] = {
        // Fewer than five people online are shown one higher.
        {"4", "127.0.0.1", nullptr, true, NotDone, 1, "127.0.0.1", {5}},
        {"5", "127.0.0.1", nullptr, true, NotDone, 1, "127.0.0.1", {5}},
        // Blanks and control characters around the address go.
        {"3", Nowhere, "\t\x01 127.0.0.1\x7F\r\n", true, Succeeded, 2, "127.0.0.1", {4}},
        {"3", Nowhere, nullptr, true, Failed, 3, DefaultAddress, {}},
        // Fetched, but two lines are no address.
        {"3", Nowhere, "127.0.0.1\r\nbackup\r\n", true, Succeeded, 3, DefaultAddress, {}},
        {"3", Nowhere, nullptr, false, NotDone, 2, DefaultAddress, {}},
        // Where the size limit lies is ErrorReport_test's; here, that the check offers it.
        {"3", "127.0.0.1", nullptr, true, NotDone, 1, "127.0.0.1", {4}, true},
    };
    for (const auto& c : cases) {
        RecordingStatusView view;
        std::filesystem::remove(server.Root() / "updates" / "QVS_SERVER_ADDRESS.TXT");
        if (c.file != nullptr) {
            server.Serve("QVS_SERVER_ADDRESS.TXT", c.file);
        }
        server.Write("status/people", c.people);
        // What the check sets starts as at each start of the launcher.
        values.PlayHelp1 = PlayHelpDisabled;
        values.AddressFetchResult = NotDone;
        Start();
        values.GameServerPort = server.gamePort;
        values.Workers.ServerHost = c.firstHost;
        if (!c.webHost) {
            values.Workers.WebBaseUrl =
                "http://127.0.0.1:" + std::to_string(ExternalProcess::FreePort()) + "/";
        }
        if (c.errorLog) {
            WriteRawFile(platform::NativePath(values.ErrorLogPath), std::string(100, 'x'));
        }
        GameServerStatusCheck(values, view, DefaultAddress).Run();
        const bool online = !c.shown.empty();
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(values.AddressFetchResult, c.fetch);
        EXPECT_EQ(view.attempts, c.attempts);
        EXPECT_EQ(values.Workers.ServerHost, c.host);
        EXPECT_EQ(view.shownPeople, c.shown);
        EXPECT_EQ(view.blinking, !online);
        EXPECT_EQ(values.PlayHelp1, online ? PlayHelpOnline : PlayHelpDisabled);
        EXPECT_TRUE(c.attempts == 1 || view.messageRounds > 0); // live while kept waiting
        EXPECT_EQ(view.errorReports, c.errorLog ? 1 : 0);
    }
}

} // namespace
} // namespace qvs::test
