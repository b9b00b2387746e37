// The game server status check against the real qvs-server: the three
// attempts, the address file, the people-online display and PlayHelp1.
#include "launcher/GameServerStatusCheck.h"

#include "launcher/IServerStatusView.h"
#include "platform/FileSystem.h"
#include "update/UpdateFixture.h"

#include <gmock/gmock.h>

namespace qvs::test {
namespace {

using ::testing::ElementsAre;

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

class GameServerStatusTest : public UpdateFixture {
protected:
    // What the check sets starts as at each start of the launcher.
    void StartServer(const std::string& people = "3") {
        server.Write("status/people", people);
        values.PlayHelp1 = PlayHelpDisabled;
        values.AddressFetchResult = AddressFetch::NotDone;
        Start();
        values.GameServerPort = server.gamePort;
    }
};

// The first host; when it does not answer, the one the address file on the
// web host names, else the first again; then the default. With no web host
// at all the second attempt is skipped.
TEST_F(GameServerStatusTest, AttemptsUntilOneAnswersAndShowsWhoIsOnline) {
    const struct {
        const char* people;
        const char* firstHost;
        const char* file; // null: none served
        bool webHost;
        AddressFetch fetch;
        int attempts;
        const char* host;
        std::vector<int> shown;
    } cases[] = {
        // Fewer than five people online are shown one higher.
        {"4", "127.0.0.1", nullptr, true, AddressFetch::NotDone, 1, "127.0.0.1", {5}},
        {"5", "127.0.0.1", nullptr, true, AddressFetch::NotDone, 1, "127.0.0.1", {5}},
        {"3", Nowhere, " 127.0.0.1\r\n", true, AddressFetch::Succeeded, 2, "127.0.0.1", {4}},
        {"3", Nowhere, nullptr, true, AddressFetch::Failed, 3, DefaultAddress, {}},
        // Fetched, but two lines are no address.
        {"3",
         Nowhere,
         "127.0.0.1\r\nbackup.quorvash.test\r\n",
         true,
         AddressFetch::Succeeded,
         3,
         DefaultAddress,
         {}},
        {"3", Nowhere, nullptr, false, AddressFetch::NotDone, 2, DefaultAddress, {}},
    };
    for (const auto& c : cases) {
        RecordingStatusView view;
        std::filesystem::remove(server.Root() / "updates" / "QVS_SERVER_ADDRESS.TXT");
        if (c.file != nullptr) {
            server.Serve("QVS_SERVER_ADDRESS.TXT", c.file);
        }
        StartServer(c.people);
        values.Workers.ServerHost = c.firstHost;
        if (!c.webHost) {
            values.Workers.WebBaseUrl =
                "http://127.0.0.1:" + std::to_string(ExternalProcess::FreePort()) + "/";
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
        EXPECT_GT(view.messageRounds, 0);
        EXPECT_EQ(view.errorReports, 0); // no error log
    }
}

// Where the size limit lies is ErrorReport_test's; here, that the check offers it.
TEST_F(GameServerStatusTest, ErrorLogOfAHundredBytesIsOfferedForSending) {
    RecordingStatusView view;
    StartServer();
    WriteRawFile(platform::NativePath(values.ErrorLogPath), std::string(100, 'x'));
    GameServerStatusCheck(values, view, DefaultAddress).Run();
    EXPECT_EQ(view.errorReports, 1);
}

TEST(GameServerStatusAddress, TrimsBlanksAndControlCharactersOnly) {
    const std::pair<const char*, const char*> cases[] = {
        {"  10.0.0.7\r\n", "10.0.0.7"},
        {"\t\x01host\x7F", "host"},
        {"a b\r\nc", "a b\r\nc"},
        {" \r\n\t", ""},
    };
    for (const auto& [body, host] : cases) {
        EXPECT_EQ(GameServerStatusCheck::TrimmedAddress(body), host) << body;
    }
}

} // namespace
} // namespace qvs::test
